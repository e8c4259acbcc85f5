#pragma once

#include "kit/VisualEffectView.h"

#include <QColor>
#include <QPointer>

namespace tolvex {

class JMModalOverlay;

// The overlay's tinted background. A click on it may close the overlay; every key that reaches
// it is logged and goes no further.
class JMOverlayView : public VisualEffectView {
    Q_OBJECT

public:
    explicit JMOverlayView(QWidget* parent = nullptr);

    QColor backgroundColor() const { return backgroundColor_; }
    // Stores the tint; it shows at the next repaint.
    void setBackgroundColor(const QColor& color) { backgroundColor_ = color; }

    JMModalOverlay* modalOverlay() const { return modalOverlay_; }
    void setModalOverlay(JMModalOverlay* overlay) { modalOverlay_ = overlay; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QColor backgroundColor_;
    QPointer<JMModalOverlay> modalOverlay_;
};

} // namespace tolvex
