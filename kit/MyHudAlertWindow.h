#pragma once

#include <QWidget>

namespace tolvex {

// The HUD alert's panel: a black, rounded, frameless surface. Inside a parent window it is laid
// over that window's contents; without one it is a window of its own.
class MyHudAlertWindow : public QWidget {
    Q_OBJECT

public:
    explicit MyHudAlertWindow(QWidget* parent = nullptr);

    float cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(float radius);

    // Makes the panel a child of `parentWindow`, or a window of its own when that is null.
    void setParentWindow(QWidget* parentWindow);

Q_SIGNALS:
    void mouseDown();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    float cornerRadius_ = 20.0f;
};

} // namespace tolvex
