#include "WindowLayout.h"

namespace tolvex {

bool WindowLayout::isVertical(QSize windowSize)
{
    return windowSize == kVerticalSize;
}

WindowLayout::ZoneOrigins WindowLayout::horizontalOrigins(QPointF centre, QSizeF zone, qreal gap)
{
    const qreal w = zone.width();
    const qreal rowY = centre.y() - zone.height() / 2;
    return {QPointF(centre.x() - w / 2 - w - gap, rowY), QPointF(centre.x() - w / 2, rowY),
            QPointF(centre.x() + w / 2 + gap, rowY)};
}

WindowLayout::ZoneOrigins WindowLayout::verticalOrigins(QPointF centre, QSizeF zone, qreal gap)
{
    const qreal h = zone.height();
    const qreal columnX = centre.x() - zone.width() / 2;
    const qreal middleY = centre.y() - h / 2;
    return {QPointF(columnX, middleY - h - gap), QPointF(columnX, middleY),
            QPointF(columnX, middleY + h + gap)};
}

} // namespace tolvex
