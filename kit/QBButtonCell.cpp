#include "QBButtonCell.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPainterPath>

namespace tolvex {

bool QBButtonCell::isHighlighted() const
{
    return m_controlView.isDown();
}

void QBButtonCell::clipToRoundedFrame(QPainter& painter, const QRectF& frame) const
{
    QPainterPath rounded;
    rounded.addRoundedRect(frame, m_cornerRadius, m_cornerRadius);
    painter.setClipPath(rounded, Qt::IntersectClip);
}

void QBButtonCell::drawBezelWithFrame(QPainter& painter, const QRectF& frame) const
{
    painter.save();
    clipToRoundedFrame(painter, frame);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(frame, m_background);
    painter.restore();
}

void QBButtonCell::drawInteriorWithFrame(QPainter& painter, const QRectF& frame) const
{
    const QRectF titleRect = titleRectForBounds(frame);
    drawTitle(painter, m_controlView.text(), titleRect);
    if (!isHighlighted())
        return;
    painter.save();
    clipToRoundedFrame(painter, frame);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(frame, m_highlightColor);
    drawPlainTitle(painter, m_controlView.text(), titleRect);
    painter.restore();
}

QRectF QBButtonCell::drawTitle(QPainter& painter, const QString& title, const QRectF& frame) const
{
    if (!m_textColor.isValid() || isHighlighted())
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
    painter.setPen(m_controlView.palette().color(QPalette::ButtonText));
    painter.drawText(frame, Qt::AlignCenter | Qt::TextSingleLine, title, &drawn);
    return drawn;
}

QRectF QBButtonCell::titleRectForBounds(const QRectF& bounds) const
{
    return bounds.marginsRemoved(m_padding);
}

QSizeF QBButtonCell::plainCellSize() const
{
    const QFontMetricsF metrics(m_controlView.font());
    return {metrics.horizontalAdvance(m_controlView.text()), metrics.height()};
}

QSizeF QBButtonCell::cellSizeForBounds(const QRectF&) const
{
    return plainCellSize() +
           QSizeF(m_padding.left() + m_padding.right(), m_padding.top() + m_padding.bottom());
}

QSizeF QBButtonCell::cellSize() const
{
    return cellSizeForBounds(m_controlView.rect());
}

} // namespace tolvex
