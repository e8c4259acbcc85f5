#include "kit/HoverCellView.h"

#include <QLabel>

namespace tolvex {

HoverCellView::HoverCellView(QWidget* parent) : QWidget(parent) {}

void HoverCellView::setMouseInside(bool inside)
{
    if (mouseInside_ != inside) {
        mouseInside_ = inside;
        update();
    }
}

void HoverCellView::mouseEntered()
{
    showHover(true);
}

void HoverCellView::mouseExited()
{
    showHover(false);
}

void HoverCellView::showHover(bool inside)
{
    if (inactive)
        return;
    QLabel* text = hoverTextField();
    QFont font = text->font();
    font.setUnderline(inside);
    text->setFont(font);
    setMouseInside(inside);
}

void HoverCellView::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    mouseEntered();
}

void HoverCellView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    mouseExited();
}

} // namespace tolvex
