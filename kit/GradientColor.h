#pragma once

#include <QBrush>
#include <QGradient>

namespace tolvex {

// A brush that paints the gradient over whatever area it fills: the first stop at the bottom of
// that area, the last at its top, stretched to the area's height, never repeated.
QBrush my_gradientColorWithGradient(const QGradientStops& gradient);

} // namespace tolvex
