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
    }
};

QTEST_GUILESS_MAIN(TestBezierPathQuartzUtilities)
#include "test_bezierpathquartzutilities.moc"
