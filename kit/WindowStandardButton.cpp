#include "kit/WindowStandardButton.h"

#include <QEvent>
#include <QPainter>

namespace tolvex {

namespace {

constexpr qreal kDiameter = 12.0;

struct Colors {
    QColor fill;
    QColor rim;
};

// The look of a button that would not act now: its window is in the background, or the button
// is disabled.
const Colors kIdleColors{QColor(0x5C, 0x5C, 0x60), QColor(0x4A, 0x4A, 0x4E)};

Colors colorsFor(WindowStandardButton::Kind kind)
{
    switch (kind) {
    case WindowStandardButton::Kind::Close:
        return {QColor(0xFF, 0x5F, 0x57), QColor(0xE0, 0x44, 0x3E)};
    case WindowStandardButton::Kind::Miniaturize:
        return {QColor(0xFE, 0xBC, 0x2E), QColor(0xDE, 0xA1, 0x23)};
    case WindowStandardButton::Kind::Zoom:
        break;
    }
    return {QColor(0x28, 0xC8, 0x40), QColor(0x1A, 0xAB, 0x29)};
}

} // namespace

WindowStandardButton::WindowStandardButton(Kind kind, QWidget* parent)
    : QAbstractButton(parent), kind_(kind)
{
    setFixedSize(kSize, kSize);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    static const char* const names[] = {"close", "miniaturize", "zoom"};
    setObjectName(QString::fromLatin1(names[static_cast<int>(kind)]));
}

void WindowStandardButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Over an inactive window the buttons light up when the mouse comes to them.
    const bool idle = !isEnabled() || (!isActiveWindow() && !underMouse());
    const Colors colors = idle ? kIdleColors : colorsFor(kind_);
    const QRectF circle((width() - kDiameter) / 2.0, (height() - kDiameter) / 2.0, kDiameter,
                        kDiameter);
    painter.setPen(QPen(colors.rim, 0.75));
    painter.setBrush(isDown() ? colors.fill.darker(120) : colors.fill);
    painter.drawEllipse(circle.adjusted(0.375, 0.375, -0.375, -0.375));
    if (!underMouse() || !isEnabled())
        return;

    const QPointF c = circle.center();
    const qreal r = 3.0;
    painter.setPen(QPen(QColor(0, 0, 0, 150), 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    switch (kind_) {
    case Kind::Close:
        painter.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
        painter.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
        break;
    case Kind::Miniaturize:
        painter.drawLine(c + QPointF(-r - 0.5, 0), c + QPointF(r + 0.5, 0));
        break;
    case Kind::Zoom:
        painter.drawLine(c + QPointF(-r - 0.5, 0), c + QPointF(r + 0.5, 0));
        painter.drawLine(c + QPointF(0, -r - 0.5), c + QPointF(0, r + 0.5));
        break;
    }
}

void WindowStandardButton::changeEvent(QEvent* event)
{
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        update();
}

void WindowStandardButton::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    update();
}

void WindowStandardButton::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    update();
}

} // namespace tolvex
