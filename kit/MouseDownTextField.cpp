#include "kit/MouseDownTextField.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace tolvex {

MouseDownTextField::MouseDownTextField(QWidget* parent) : QLabel(parent)
{
    setTextInteractionFlags(Qt::NoTextInteraction);
    setCursor(Qt::PointingHandCursor);
}

MouseDownTextField::UnderlineStyle MouseDownTextField::underlineStyle() const
{
    if (doubleUnderline_)
        return UnderlineStyle::Double;
    return font().underline() ? UnderlineStyle::Single : UnderlineStyle::None;
}

void MouseDownTextField::setUnderlineStyle(UnderlineStyle style)
{
    QFont plain = font();
    plain.setUnderline(style == UnderlineStyle::Single);
    setFont(plain);
    doubleUnderline_ = style == UnderlineStyle::Double;
    update();
}

void MouseDownTextField::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!doubleUnderline_ || text().isEmpty())
        return;
    const QFontMetrics metrics(font());
    const QRect textRect =
        style()->itemTextRect(metrics, contentsRect(), alignment(), isEnabled(), text());
    const int thickness = qMax(1, metrics.lineWidth());
    const int first = textRect.top() + metrics.ascent() + metrics.underlinePos();
    QPainter painter(this);
    const QColor color = palette().color(foregroundRole());
    painter.fillRect(textRect.left(), first, textRect.width(), thickness, color);
    painter.fillRect(textRect.left(), first + 2 * thickness, textRect.width(), thickness, color);
}

void MouseDownTextField::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (delegate_)
        delegate_->mouseDownTextFieldClicked(this);
}

void MouseDownTextField::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    setUnderlineStyle(UnderlineStyle::Double);
}

void MouseDownTextField::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    setUnderlineStyle(UnderlineStyle::None);
}

} // namespace tolvex
