#include "QBButtonCell.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPainterPath>

namespace tolvex {

bool QBButtonCell::isHighlighted() const
{
    return controlView_.isDown();
}

void QBButtonCell::clipToRoundedFrame(QPainter& painter, const QRectF& frame) const
{
    QPainterPath rounded;
    rounded.addRoundedRect(frame, cornerRadius_, cornerRadius_);
    painter.setClipPath(rounded, Qt::IntersectClip);
}

void QBButtonCell::drawBezelWithFrame(QPainter& painter, const QRectF& frame) const
{
    painter.save();
    clipToRoundedFrame(painter, frame);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(frame, background_);
    painter.restore();
}

void QBButtonCell::drawInteriorWithFrame(QPainter& painter, const QRectF& frame) const
{
    const QRectF titleRect = titleRectForBounds(frame);
    drawTitle(painter, controlView_.text(), titleRect);
    if (!isHighlighted())
        return;
    painter.save();
    clipToRoundedFrame(painter, frame);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(frame, highlightColor_);
    drawPlainTitle(painter, controlView_.text(), titleRect);
    painter.restore();
}

QRectF QBButtonCell::drawTitle(QPainter& painter, const QString& title, const QRectF& frame) const
{
    if (!textColor_.isValid() || isHighlighted())
        return {};
    painter.save();
    const QRectF drawn = drawPlainTitle(painter, title, frame);
    painter.restore();
    return drawn;
}

QRectF QBButtonCell::drawPlainTitle(QPainter& painter, const QString& title,
                                    const QRectF& frame) const
{
    QRectF drawn;
    painter.setPen(controlView_.palette().color(QPalette::ButtonText));
    painter.drawText(frame, Qt::AlignCenter | Qt::TextSingleLine, title, &drawn);
    return drawn;
}

QRectF QBButtonCell::titleRectForBounds(const QRectF& bounds) const
{
    return bounds.marginsRemoved(padding_);
}

QSizeF QBButtonCell::plainCellSize() const
{
    const QFontMetricsF metrics(controlView_.font());
    return {metrics.horizontalAdvance(controlView_.text()), metrics.height()};
}

QSizeF QBButtonCell::cellSizeForBounds(const QRectF&) const
{
    return plainCellSize() +
           QSizeF(padding_.left() + padding_.right(), padding_.top() + padding_.bottom());
}

QSizeF QBButtonCell::cellSize() const
{
    return cellSizeForBounds(controlView_.rect());
}

} // namespace tolvex
