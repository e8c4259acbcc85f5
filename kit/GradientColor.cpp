#include "kit/GradientColor.h"

#include <QLinearGradient>

namespace tolvex {

QBrush my_gradientColorWithGradient(const QGradientStops& gradient)
{
    // Object mode measures the gradient in the bounds of each shape filled with it, so every
    // shape gets the whole gradient from its own bottom to its own top.
    QLinearGradient vertical(QPointF(0.0, 1.0), QPointF(0.0, 0.0));
    vertical.setCoordinateMode(QGradient::ObjectMode);
    vertical.setSpread(QGradient::PadSpread);
    vertical.setStops(gradient);
    return QBrush(vertical);
}

} // namespace tolvex
