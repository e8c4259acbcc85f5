#include "kit/MyHudAlertWindow.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace tolvex {

namespace {
constexpr Qt::WindowFlags kOwnWindowFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
}

MyHudAlertWindow::MyHudAlertWindow(QWidget* parent)
    : QWidget(parent, parent ? Qt::Widget : kOwnWindowFlags)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoMousePropagation);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void MyHudAlertWindow::setCornerRadius(float radius)
{
    cornerRadius_ = radius;
    update();
}

void MyHudAlertWindow::setParentWindow(QWidget* parentWindow)
{
    if (parentWindow == parentWidget())
        return;
    if (parentWindow) {
        setParent(parentWindow, Qt::Widget);
        return;
    }
    // On its own the panel stays where it was on the screen.
    const QPoint onScreen = mapToGlobal(QPoint(0, 0));
    setParent(nullptr, kOwnWindowFlags);
    move(onScreen);
}

void MyHudAlertWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath panel;
    panel.addRoundedRect(QRectF(rect()), cornerRadius_, cornerRadius_);
    painter.fillPath(panel, Qt::black);
}

void MyHudAlertWindow::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    Q_EMIT mouseDown();
}

} // namespace tolvex
