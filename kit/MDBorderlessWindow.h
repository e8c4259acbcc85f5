#pragma once

#include <QWidget>

namespace tolvex {

// The overlay's window: a transparent, frameless surface laid over a whole parent window. It
// keeps clicks to itself (they never fall through to the window underneath) and clips what it
// holds to its rounded corners.
class MDBorderlessWindow : public QWidget {
    Q_OBJECT

public:
    explicit MDBorderlessWindow(QWidget* parent = nullptr);

    qreal cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(qreal radius);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateMask();

    qreal cornerRadius_ = 0.0;
};

} // namespace tolvex
