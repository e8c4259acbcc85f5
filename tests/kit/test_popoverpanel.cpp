#include "kit/PopoverPanel.h"

#include <QPushButton>
#include <QTest>

using namespace tolvex;

using Edge = PopoverPanel::Edge;

class TestPopoverPanel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A popover with an 80 by 32 body beside a 20 by 20 control on a 400 by 300 screen; its
    // arrow adds 8 on the side facing the control.
    void placement_data()
    {
        QTest::addColumn<QPoint>("anchor");
        QTest::addColumn<Edge>("preferred");
        QTest::addColumn<QList<QRect>>("obstacles");
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<Edge>("edge");
        const QList<QRect> none;
        const QRect above(80, 70, 10, 10), below(80, 130, 10, 10), right(150, 100, 10, 10),
            left(40, 100, 10, 10);
        QTest::newRow("centred below")
            << QPoint(100, 100) << Edge::Below << none << QRect(70, 120, 80, 40) << Edge::Below;
        QTest::newRow("centred above")
            << QPoint(100, 100) << Edge::Above << none << QRect(70, 60, 80, 40) << Edge::Above;
        QTest::newRow("flips at the bottom edge")
            << QPoint(100, 270) << Edge::Below << none << QRect(70, 230, 80, 40) << Edge::Above;
        QTest::newRow("flips at the top edge")
            << QPoint(100, 10) << Edge::Above << none << QRect(70, 30, 80, 40) << Edge::Below;
        QTest::newRow("slides at the right edge")
            << QPoint(380, 100) << Edge::Below << none << QRect(320, 120, 80, 40) << Edge::Below;
        QTest::newRow("slides at the left edge")
            << QPoint(0, 100) << Edge::Below << none << QRect(0, 120, 80, 40) << Edge::Below;
        QTest::newRow("leaves a control above clear")
            << QPoint(100, 100) << Edge::Above << QList<QRect>{above} << QRect(70, 120, 80, 40)
            << Edge::Below;
        QTest::newRow("stands on the right where above and below are taken")
            << QPoint(100, 100) << Edge::Above << QList<QRect>{above, below}
            << QRect(120, 94, 88, 32) << Edge::Right;
        QTest::newRow("stands on the left where the right is taken too")
            << QPoint(100, 100) << Edge::Above << QList<QRect>{above, below, right}
            << QRect(12, 94, 88, 32) << Edge::Left;
        QTest::newRow("covers its preferred side where no side is clear")
            << QPoint(100, 100) << Edge::Above << QList<QRect>{above, below, right, left}
            << QRect(70, 60, 80, 40) << Edge::Above;
        QTest::newRow("covers rather than leave the screen")
            << QPoint(385, 10) << Edge::Below << QList<QRect>{QRect(290, 0, 60, 60)}
            << QRect(320, 30, 80, 40) << Edge::Below;
    }

    void placement()
    {
        QFETCH(QPoint, anchor);
        QFETCH(Edge, preferred);
        QFETCH(QList<QRect>, obstacles);
        QFETCH(QRect, frame);
        QFETCH(Edge, edge);
        const PopoverPanel::Placement placed = PopoverPanel::placement(
            {80, 32}, QRect(anchor, QSize(20, 20)), preferred, QRect(0, 0, 400, 300), obstacles);
        QCOMPARE(placed.frame, frame);
        QCOMPARE(placed.edge, edge);
    }

    // The arrow's tip touches the control at its middle, also when the popover slides along the
    // screen's edge; outside the body and the arrow the
    // popover shows nothing.
    void arrowPointsAtTheControl()
    {
        QWidget window;
        window.setGeometry(0, 40, 300, 200);
        auto* anchor = new QPushButton(QStringLiteral("Share"), &window);
        anchor->setGeometry(0, 20, 60, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        PopoverPanel popover(&window);
        popover.setMinimumSize(120, 50);
        for (const Edge edge : {Edge::Below, Edge::Above}) {
            popover.showRelativeTo(anchor, edge);
            QCOMPARE(popover.edge(), edge);
            const QPoint tip = popover.mapToGlobal(popover.arrowTip());
            QCOMPARE(tip.x(), anchor->mapToGlobal(QPoint(anchor->width() / 2, 0)).x());
            QCOMPARE(tip.y(), anchor
                                  ->mapToGlobal(edge == Edge::Below
                                                    ? anchor->rect().bottomLeft() + QPoint(0, 1)
                                                    : anchor->rect().topLeft())
                                  .y());
            const int inward = edge == Edge::Below ? 3 : -4;
            QVERIFY(popover.mask().contains(popover.arrowTip() + QPoint(0, inward)));
            QVERIFY(!popover.mask().contains(popover.arrowTip() + QPoint(20, inward)));
            popover.hide();
        }
    }
};

QTEST_MAIN(TestPopoverPanel)
#include "test_popoverpanel.moc"
