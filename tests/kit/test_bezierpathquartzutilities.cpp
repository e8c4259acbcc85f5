#include "kit/BezierPathQuartzUtilities.h"

#include <QTest>

using namespace tolvex;

namespace {

QList<QPointF> points(const QPainterPath& path)
{
    QList<QPointF> result;
    for (int i = 0; i < path.elementCount(); ++i)
        result << QPointF(path.elementAt(i));
    return result;
}

} // namespace

class TestBezierPathQuartzUtilities : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlyTheLastSubpathIsClosedOnce()
    {
        QVERIFY(!BezierPathQuartzUtilities::quartzPath({}).has_value());

        QPainterPath twoStrokes;
        twoStrokes.moveTo(0, 0);
        twoStrokes.lineTo(5, 0);
        twoStrokes.moveTo(0, 10);
        twoStrokes.lineTo(5, 10);
        const auto closed = BezierPathQuartzUtilities::quartzPath(twoStrokes);
        QVERIFY(closed);
        QCOMPARE(points(*closed), QList<QPointF>({{0, 0}, {5, 0}, {0, 10}, {5, 10}, {0, 10}}));
        // Converting the result again finds it closed and adds nothing.
        QCOMPARE(points(*BezierPathQuartzUtilities::quartzPath(*closed)), points(*closed));

        QPainterPath arc;
        arc.moveTo(0, 0);
        arc.cubicTo(QPointF(0, 10), QPointF(10, 10), QPointF(10, 0));
        const auto closedArc = BezierPathQuartzUtilities::quartzPath(arc);
        QCOMPARE(closedArc->elementAt(1).type, QPainterPath::CurveToElement);
        QCOMPARE(points(*closedArc), QList<QPointF>({{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}}));
    }
};

QTEST_GUILESS_MAIN(TestBezierPathQuartzUtilities)
#include "test_bezierpathquartzutilities.moc"
