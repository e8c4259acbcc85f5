#include "kit/PopoverPanel.h"

#include <QPushButton>
#include <QTest>

using namespace tolvex;

using Edge = PopoverPanel::Edge;

class TestPopoverPanel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // An 80 by 40 popover beside a 20 by 20 control on a 400 by 300 screen.
    void placement_data()
    {
        QTest::addColumn<QPoint>("anchor");
        QTest::addColumn<Edge>("preferred");
        QTest::addColumn<QList<QRect>>("obstacles");
        QTest::addColumn<QPoint>("placed");
        QTest::newRow("centred below")
            << QPoint(100, 100) << Edge::Below << QList<QRect>{} << QPoint(70, 120);
        QTest::newRow("centred above")
            << QPoint(100, 100) << Edge::Above << QList<QRect>{} << QPoint(70, 60);
        QTest::newRow("flips at the bottom edge")
            << QPoint(100, 270) << Edge::Below << QList<QRect>{} << QPoint(70, 230);
        QTest::newRow("flips at the top edge")
            << QPoint(100, 10) << Edge::Above << QList<QRect>{} << QPoint(70, 30);
        QTest::newRow("slides at the right edge")
            << QPoint(380, 100) << Edge::Below << QList<QRect>{} << QPoint(320, 120);
        QTest::newRow("slides at the left edge")
            << QPoint(0, 100) << Edge::Below << QList<QRect>{} << QPoint(0, 120);
        QTest::newRow("leaves a control beside it clear")
            << QPoint(100, 100) << Edge::Above << QList<QRect>{QRect(80, 70, 10, 10)}
            << QPoint(70, 120);
        QTest::newRow("covers where neither side is clear")
            << QPoint(100, 100) << Edge::Above
            << QList<QRect>{QRect(80, 70, 10, 10), QRect(80, 130, 10, 10)} << QPoint(70, 60);
        QTest::newRow("covers rather than leave the screen")
            << QPoint(100, 10) << Edge::Below << QList<QRect>{QRect(80, 40, 10, 10)}
            << QPoint(70, 30);
    }

    void placement()
    {
        QFETCH(QPoint, anchor);
        QFETCH(Edge, preferred);
        QFETCH(QList<QRect>, obstacles);
        QFETCH(QPoint, placed);
        QCOMPARE(PopoverPanel::placement({80, 40}, QRect(anchor, QSize(20, 20)), preferred,
                                         QRect(0, 0, 400, 300), obstacles),
                 QRect(placed, QSize(80, 40)));
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
