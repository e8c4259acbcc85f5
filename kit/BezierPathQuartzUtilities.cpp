#include "BezierPathQuartzUtilities.h"

namespace tolvex::BezierPathQuartzUtilities {

std::optional<QPainterPath> quartzPath(const QPainterPath& path)
{
    if (path.elementCount() < 1)
        return std::nullopt;

    QPainterPath result;
    bool subpathClosed = true;
    QPointF subpathStart;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        switch (element.type) {
        case QPainterPath::MoveToElement:
            result.moveTo(element);
            subpathStart = element;
            break;
        case QPainterPath::LineToElement:
            result.lineTo(element);
            subpathClosed = QPointF(element) == subpathStart;
            break;
        case QPainterPath::CurveToElement: {
            const QPointF end = path.elementAt(i + 2);
            result.cubicTo(element, path.elementAt(i + 1), end);
            subpathClosed = end == subpathStart;
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    if (!subpathClosed)
        result.closeSubpath();
    return result;
}

} // namespace tolvex::BezierPathQuartzUtilities
