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
    explicit QBButtonCell(const QAbstractButton& controlView) : controlView_(controlView) {}

    qreal cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(qreal radius) { cornerRadius_ = radius; }
    QColor background() const { return background_; }
    void setBackground(const QColor& color) { background_ = color; }
    QColor highlightColor() const { return highlightColor_; }
    void setHighlightColor(const QColor& color) { highlightColor_ = color; }
    QColor textColor() const { return textColor_; }
    void setTextColor(const QColor& color) { textColor_ = color; }
    QColor highlightTextColor() const { return highlightTextColor_; }
    void setHighlightTextColor(const QColor& color) { highlightTextColor_ = color; }
    QMarginsF padding() const { return padding_; }
    void setPadding(const QMarginsF& padding) { padding_ = padding; }

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

    const QAbstractButton& controlView_;
    qreal cornerRadius_ = 0.0;
    QColor background_;
    QColor highlightColor_;
    QColor textColor_;
    QColor highlightTextColor_;
    QMarginsF padding_;
};

} // namespace tolvex
