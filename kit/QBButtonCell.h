#pragma once

#include <QColor>
#include <QMarginsF>
#include <QRectF>

class QAbstractButton;
class QPainter;

namespace tolvex {

// Draws a QBButton: a rounded translucent fill, the title inset by the padding and, while the
// button is down, a translucent overlay with the title drawn again on top of it, so the overlay
// never dims the title. A released button shows its title only while `textColor` is set.
//
// The title is drawn in the button's palette (ButtonText); `textColor` and `highlightTextColor`
// are kept for the owner but do not colour it.
class QBButtonCell {
public:
    explicit QBButtonCell(const QAbstractButton& controlView) : m_controlView(controlView) {}

    qreal cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(qreal radius) { m_cornerRadius = radius; }
    QColor background() const { return m_background; }
    void setBackground(const QColor& color) { m_background = color; }
    QColor highlightColor() const { return m_highlightColor; }
    void setHighlightColor(const QColor& color) { m_highlightColor = color; }
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor& color) { m_textColor = color; }
    QColor highlightTextColor() const { return m_highlightTextColor; }
    void setHighlightTextColor(const QColor& color) { m_highlightTextColor = color; }
    QMarginsF padding() const { return m_padding; }
    void setPadding(const QMarginsF& padding) { m_padding = padding; }

    void drawBezelWithFrame(QPainter& painter, const QRectF& frame) const;
    void drawInteriorWithFrame(QPainter& painter, const QRectF& frame) const;
    // Draws the title in `frame` unless the button is down or has no text colour; answers the
    // rectangle drawn into, or an empty one.
    QRectF drawTitle(QPainter& painter, const QString& title, const QRectF& frame) const;

    QRectF titleRectForBounds(const QRectF& bounds) const;
    // The plain title size plus the padding on each side.
    QSizeF cellSizeForBounds(const QRectF& bounds) const;
    QSizeF cellSize() const;

private:
    bool isHighlighted() const;
    void clipToRoundedFrame(QPainter& painter, const QRectF& frame) const;
    QRectF drawPlainTitle(QPainter& painter, const QString& title, const QRectF& frame) const;
    QSizeF plainCellSize() const;

    const QAbstractButton& m_controlView;
    qreal m_cornerRadius = 0.0;
    QColor m_background;
    QColor m_highlightColor;
    QColor m_textColor;
    QColor m_highlightTextColor;
    QMarginsF m_padding;
};

} // namespace tolvex
