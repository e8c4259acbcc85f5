#include "kit/WAYWindow.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>
#include <cmath>

using namespace tolvex;

namespace {

// Asks the window to close again from inside its own answer, as a delegate that closes the
// window after a question would.
class ReenteringDelegate : public WindowDelegate {
public:
    WAYWindow* window = nullptr;
    bool answer = false;
    int asked = 0;

    bool windowShouldClose(WAYWindow* sender) override
    {
        ++asked;
        window->performClose();
        return sender == window && answer;
    }
};

// The buttons' y measured upwards from the bottom of the title bar, as the placement rules
// give it.
QList<int> yFromBottom(const WAYWindow& window)
{
    QList<int> ys;
    for (QAbstractButton* button : window.standardButtons())
        ys << window.titleBarView()->height() - button->y() - button->height();
    return ys;
}

} // namespace

class TestWAYWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Buttons of 14 in a row from x 10, 20 apart, in a title bar of 60 with a top margin of 5.
    void buttonPlacement()
    {
        for (const auto& [centred, y] : {std::pair{true, 23}, std::pair{false, 41}}) {
            WAYWindow window;
            window.resize(400, 300);
            window.setTitleBarHeight(60);
            window.setTrafficLightButtonsLeftMargin(10);
            window.setTrafficLightButtonsTopMargin(5);
            window.setCenterTrafficLightButtons(centred);
            QCOMPARE(window.standardButtons()[0]->height(), 14);
            QList<int> xs;
            for (QAbstractButton* button : window.standardButtons())
                xs << button->x();
            QCOMPARE(xs, QList<int>({10, 30, 50}));
            QCOMPARE(yFromBottom(window), QList<int>({y, y, y}));
        }
    }

    void titleBarHeightHasAMinimumAndOneSpacer()
    {
        WAYWindow window;
        window.resize(400, 300);
        window.setTitleBarHeight(10);
        // Set too low, the title bar stays as high as a standard one, its buttons inside it.
        const WAYWindow standard;
        QCOMPARE(window.titleBarView()->height(), standard.titleBarView()->height());
        for (const QAbstractButton* button : window.standardButtons())
            QVERIFY(window.titleBarView()->rect().contains(button->geometry()));

        window.setTitleBarHeight(40);
        QPointer<QWidget> first = window.dummyTitlebarAccessoryViewController();
        window.setTitleBarHeight(50);
        QVERIFY(!first);
        const auto spacers = window.findChildren<QWidget*>(QStringLiteral("titlebarAccessory"));
        QCOMPARE(spacers.size(), 1);
        QCOMPARE(spacers[0]->height(), 28);
        QCOMPARE(window.titleBarView()->height(), 50);
        QCOMPARE(window.size(), QSize(400, 300));
        QCOMPARE(yFromBottom(window), QList<int>({18, 18, 18}));
    }

    void delegateProxyDropsAReenteringQuestion()
    {
        WAYWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ReenteringDelegate delegate;
        delegate.window = &window;
        window.setDelegate(&delegate);

        QTest::mouseClick(window.standardButtons()[0], Qt::LeftButton);
        QCOMPARE(delegate.asked, 1);
        QVERIFY(window.isVisible());

        delegate.answer = true;
        window.performClose();
        QCOMPARE(delegate.asked, 2);
        QVERIFY(!window.isVisible());
    }

    // A window fixed at its size does not zoom, and its zoom button is grey. In a window in the
    // background all three buttons are grey.
    void zoomAndTheButtonsLooks()
    {
        WAYWindow window;
        window.show();
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());
        QTest::mouseMove(&window, QPoint(250, 150));
        const auto greys = [&] {
            QList<bool> grey;
            for (QAbstractButton* button : window.standardButtons())
                grey << (button->grab().toImage().pixelColor(7, 7).hsvSaturation() < 40);
            return grey;
        };
        QCOMPARE(greys(), QList<bool>({false, false, false}));
        window.setFixedSize(300, 220);
        QCOMPARE(greys(), QList<bool>({false, false, true}));
        window.performZoom();
        QVERIFY(!window.isMaximized());

        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_VERIFY(!window.isActiveWindow());
        QCOMPARE(greys(), QList<bool>({true, true, true}));
    }

    void titleIsCentredAtTheNextLayoutPass()
    {
        WAYWindow window;
        window.setWindowTitle(QStringLiteral("Tolvex"));
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setTitleBarHeight(40);
        QLabel* title = window.titleLabel();
        const int standardY = title->y();
        window.setVerticallyCenterTitle(true);
        window.setHidesTitle(false);
        QVERIFY(!title->isHidden());
        QCOMPARE(title->y(), standardY);

        window.resize(420, 300);
        QTRY_COMPARE(window.titleBarView()->width(), 420);
        const double height = window.getTitleFrame().height();
        const double fromBottom = std::floor(40 * 0.5 - height * 0.5 + 1.0);
        QCOMPARE(title->y(), int(40 - fromBottom - height));
        QCOMPARE(title->x() + title->width() / 2, 210);
    }

    void vibrantContentViewKeepsTheSubviews()
    {
        WAYWindow window;
        window.resize(400, 300);
        auto* label = new QLabel(QStringLiteral("zone"), window.contentView());
        label->setGeometry(20, 40, 100, 30);
        window.setContentViewAppearanceVibrantDark();
        auto* effect = qobject_cast<VisualEffectView*>(window.contentView());
        QVERIFY(effect);
        QCOMPARE(effect->material(), VisualEffectView::Material::Dark);
        QCOMPARE(label->parentWidget(), effect);
        QCOMPARE(label->geometry(), QRect(20, 40, 100, 30));
        QCOMPARE(effect->geometry(), window.rect());
    }
};

QTEST_MAIN(TestWAYWindow)
#include "test_waywindow.moc"
