#include "WindowLayout.h"

#include <algorithm>

namespace tolvex {

bool WindowLayout::isVertical(QSize windowSize)
{
    return windowSize == kVerticalSize;
}

bool WindowLayout::fits(QSize size, const QRect& available)
{
    return size.width() <= available.width() && size.height() <= available.height();
}

QPoint WindowLayout::placedInside(const QRect& frame, const QRect& available)
{
    const int x =
        std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width()));
    const int y =
        std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height()));
    return {x, y};
}

QPoint WindowLayout::centredIn(QSize size, const QRect& available)
{
    return placedInside(QRect(available.center() - QPoint(size.width(), size.height()) / 2, size),
                        available);
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
