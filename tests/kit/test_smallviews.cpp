#include "kit/DisableSubviews.h"
#include "kit/MouseDownTextField.h"
#include "kit/PopoverPanel.h"
#include "kit/ProgressIndicator.h"
#include "kit/undragTypesImgV.h"

#include <QEnterEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tolvex;
using Edge = PopoverPanel::Edge;

namespace {

class CountingDelegate : public MouseDownTextFieldDelegate {
public:
    QList<MouseDownTextField*> clicked;
    void mouseDownTextFieldClicked(MouseDownTextField* field) override { clicked << field; }
};

class PressCounter : public QWidget {
public:
    using QWidget::QWidget;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        ++presses;
        event->accept();
    }
};

// Two kinds of control and a spinner, which is no control, under a container.
struct Controls {
    QWidget root;
    QWidget* container = new QWidget(&root);
    ProgressIndicator* spinner = new ProgressIndicator(container);
    const QList<QAbstractButton*> buttons{new QPushButton(container), new QRadioButton(container)};

    QList<bool> enabled() const { return {buttons[0]->isEnabled(), buttons[1]->isEnabled()}; }
};

} // namespace

class TestSmallViews : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Only the controls change; the views holding them stay as they are.
    void controlsAloneAreDisabled()
    {
        Controls view;
        disableSubviews(&view.root, true);
        QCOMPARE(view.enabled(), QList<bool>({false, false}));
        QVERIFY(view.container->isEnabled() && view.spinner->isEnabled());
        disableSubviews(&view.root, false);
        QCOMPARE(view.enabled(), QList<bool>({true, true}));
    }

    void clickGoesToTheDelegateAndNeverEdits()
    {
        QWidget window;
        auto* field = new MouseDownTextField(&window);
        field->setText(QStringLiteral("1 - pass"));
        field->setGeometry(10, 10, 120, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(field->cursor().shape(), Qt::PointingHandCursor);

        QTest::mouseDClick(field, Qt::LeftButton);
        QVERIFY(!field->hasSelectedText());

        CountingDelegate delegate;
        field->setDelegate(&delegate);
        QTest::mouseClick(field, Qt::LeftButton);
        QCOMPARE(delegate.clicked, QList<MouseDownTextField*>{field});
    }

    void hoverUnderlineIsGoneAfterTheMouseLeaves()
    {
        MouseDownTextField field;
        field.setText(QStringLiteral("7 - pass"));
        QFont underlined = field.font();
        underlined.setUnderline(true);
        field.setFont(underlined);

        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(&field, &enter);
        QCOMPARE(field.underlineStyle(), MouseDownTextField::UnderlineStyle::Double);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&field, &leave);
        QCOMPARE(field.underlineStyle(), MouseDownTextField::UnderlineStyle::None);
        QVERIFY(!field.font().underline());
    }

    void decorativeImageLetsClicksThrough()
    {
        QWidget window;
        window.resize(200, 200);
        auto* behind = new PressCounter(&window);
        behind->setGeometry(0, 0, 200, 200);
        auto* image = new undragTypesImgV(&window);
        image->setGeometry(50, 50, 100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(behind->presses, 1);

        // With a subview, the mouse goes to that subview wherever it is pressed.
        auto* first = new PressCounter(image);
        first->setGeometry(0, 0, 10, 10);
        first->show();
        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(first->presses, 1);
        QCOMPARE(behind->presses, 1);
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression("^subV> QWidget"));
        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(55, 55));
        QCOMPARE(first->presses, 2);
    }

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

QTEST_MAIN(TestSmallViews)
#include "test_smallviews.moc"
