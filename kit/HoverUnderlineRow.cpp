#include "kit/HoverUnderlineRow.h"

#include <QLabel>

namespace tolvex {

HoverUnderlineRow::HoverUnderlineRow(QWidget* parent) : QWidget(parent) {}

void HoverUnderlineRow::setMouseInside(bool inside)
{
    if (mouseInside_ != inside) {
        mouseInside_ = inside;
        update();
    }
}

void HoverUnderlineRow::mouseEntered()
{
    showHover(true);
}

void HoverUnderlineRow::mouseExited()
{
    showHover(false);
}

void HoverUnderlineRow::showHover(bool inside)
{
    if (inactive || !underlinedLabel_)
        return;
    QFont font = underlinedLabel_->font();
    font.setUnderline(inside);
    underlinedLabel_->setFont(font);
    setMouseInside(inside);
}

void HoverUnderlineRow::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    mouseEntered();
}

void HoverUnderlineRow::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    mouseExited();
}

} // namespace tolvex
