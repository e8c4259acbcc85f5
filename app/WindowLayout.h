#pragma once

#include <QPointF>
#include <QRect>
#include <QSize>
#include <QSizeF>

namespace tolvex {

// Where the three drop zones of the main window go in each layout. The window is vertical
// exactly when it has the vertical size; any other size counts as horizontal.
class WindowLayout {
public:
    static constexpr QSize kHorizontalSize{500, 338};
    static constexpr QSize kVerticalSize{280, 620};

    struct ZoneOrigins {
        QPointF one;
        QPointF seven;
        QPointF thirtyFive;
    };

    static bool isVertical(QSize windowSize);

    // Whether a window of `size` fits in `available`, the usable part of its screen.
    static bool fits(QSize size, const QRect& available);
    // `frame` moved the least distance that brings it inside `available`; a frame too large
    // keeps its top-left corner, and so its title bar, on the screen.
    static QPoint placedInside(const QRect& frame, const QRect& available);
    static QPoint centredIn(QSize size, const QRect& available);

    // Top-left corners (y grows downwards) of zones of size `zone` around the content centre,
    // `gap` apart: a row with 1-pass on the left, or a column with 1-pass at the top. The 7-pass
    // zone sits on the centre in both.
    static ZoneOrigins horizontalOrigins(QPointF centre, QSizeF zone, qreal gap);
    static ZoneOrigins verticalOrigins(QPointF centre, QSizeF zone, qreal gap);
};

} // namespace tolvex
