#pragma once

#include <QEasingCurve>
#include <QPointF>

namespace tolvex::MediaTimingFunction {

// The timing curves the desktop's layer animations use, as cubic Bézier easing curves, so that
// animations here move with the same pace.

// Starts slowly and speeds up to the end: control points (0.42, 0) and (1, 1).
QEasingCurve easeIn();

// Starts quickly and slows to a stop: control points (0, 0) and (0.58, 1).
QEasingCurve easeOut();

// The default curve of implicit animations: control points (0.25, 0.1) and (0.25, 1).
QEasingCurve systemDefault();

} // namespace tolvex::MediaTimingFunction
