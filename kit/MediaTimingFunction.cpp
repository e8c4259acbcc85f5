#include "MediaTimingFunction.h"

namespace tolvex::MediaTimingFunction {

namespace {

QEasingCurve cubicBezier(QPointF firstControl, QPointF secondControl)
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(firstControl, secondControl, QPointF(1.0, 1.0));
    return curve;
}

} // namespace

QEasingCurve easeIn()
{
    return cubicBezier(QPointF(0.42, 0.0), QPointF(1.0, 1.0));
}

QEasingCurve easeOut()
{
    return cubicBezier(QPointF(0.0, 0.0), QPointF(0.58, 1.0));
}

QEasingCurve systemDefault()
{
    return cubicBezier(QPointF(0.25, 0.1), QPointF(0.25, 1.0));
}

} // namespace tolvex::MediaTimingFunction
