#include "kit/AlphaValue.h"
#include "kit/CompositingMonitor.h"
#include "kit/ImageView.h"
#include "kit/Images.h"
#include "kit/MyHudAlert.h"
#include "kit/MyHudAlertWindow.h"
#include "kit/ProgressIndicator.h"
#include "kit/WAYWindow.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace tolvex;
using namespace std::chrono_literals;

namespace {

// Timed alerts stay this long here, so that the tests need not wait the real 2 s.
constexpr auto kStay = 200ms;

std::unique_ptr<QWidget> whiteWindow(QSize size)
{
    auto window = std::make_unique<QWidget>();
    window->resize(size);
    window->setAutoFillBackground(true);
    QPalette white = window->palette();
    white.setColor(QPalette::Window, Qt::white);
    window->setPalette(white);
    return window;
}

QImage rendered(const QIcon& icon)
{
    return icon.pixmap(QSize(48, 48), 1.0).toImage();
}

MyHudAlertWindow* panel()
{
    return MyHudAlert::sharedAlert()->window();
}

// Whether the alert is still up after three times its stay.
bool staysUp()
{
    return !QTest::qWaitFor([] { return !panel()->isVisible(); }, int(3 * kStay.count()));
}

} // namespace

class TestMyHudAlert : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QWidget> first = whiteWindow({400, 300});
    std::unique_ptr<QWidget> second = whiteWindow({500, 400});
    QPushButton* button = new QPushButton(QStringLiteral("Press"), first.get());

    void clickAway() { QTest::mouseClick(first.get(), Qt::LeftButton, {}, QPoint(390, 290)); }

private Q_SLOTS:
    void initTestCase()
    {
        MyHudAlert::setDismissIntervalForTesting(kStay);
        button->setGeometry(10, 10, 80, 30);
        first->show();
        second->show();
        QVERIFY(QTest::qWaitForWindowExposed(first.get()));
        QVERIFY(QTest::qWaitForWindowExposed(second.get()));
    }

    // Runs first: the busy alert is the first alert of the process. A busy alert shown over a
    // timed one is not closed by the timed one's timer either.
    void busyAlertStaysThroughClicksAndTime()
    {
        QVERIFY(!MyHudAlert::sharedAlert());
        for (const bool afterATimedOne : {false, true}) {
            if (afterATimedOne)
                MyHudAlert::alertWithWindow(first.get(), HudAlertType::information, "timed");
            MyHudAlert::alertWithWindow(first.get(), HudAlertType::busy, QStringLiteral("busy"));
            MyHudAlert* alert = MyHudAlert::sharedAlert();
            QVERIFY(alert->loadingIndicator()->isVisible() &&
                    alert->loadingIndicator()->isAnimating());
            QVERIFY(alert->iconView()->isHidden() && !alert->hasClickMonitor());
            clickAway();
            QTest::mouseClick(panel(), Qt::LeftButton);
            QVERIFY(staysUp());
            MyHudAlert::dismisWindow();
            QVERIFY(!panel()->isVisible());
        }
    }

    // A click elsewhere closes the alert and still reaches its target; one on the alert too.
    void clicksClose()
    {
        QSignalSpy clicked(button, &QPushButton::clicked);
        MyHudAlert::alertWithWindow(first.get(), HudAlertType::information, QStringLiteral("x"));
        QVERIFY(MyHudAlert::sharedAlert()->hasClickMonitor());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!panel()->isVisible());
        QCOMPARE(clicked.count(), 1);
        QVERIFY(!MyHudAlert::sharedAlert()->hasClickMonitor());

        MyHudAlert::alertWithWindow(first.get(), HudAlertType::success, QStringLiteral("done"));
        QTest::mouseClick(panel(), Qt::LeftButton);
        QVERIFY(!panel()->isVisible());
    }

    void aSecondAlertKeepsItsOwnTime()
    {
        QElapsedTimer clock;
        clock.start();
        MyHudAlert::alertWithWindow(first.get(), HudAlertType::information, QStringLiteral("one"));
        QVERIFY(QTest::qWaitFor([&] { return clock.elapsed() >= kStay.count() / 2; }));
        clock.restart();
        MyHudAlert::alertWithWindow(first.get(), HudAlertType::information, QStringLiteral("two"));
        QTRY_VERIFY(!panel()->isVisible());
        QVERIFY2(clock.elapsed() >= kStay.count() - 10,
                 qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(MyHudAlert::sharedAlert()->messageField()->text(), QStringLiteral("two"));
    }

    void oddTypesAndAMissingMessageLookLikeInformation()
    {
        const QStringList icons = {"MyHudAlertInfo", "MyHudAlertWarn", "MyHudAlertError",
                                   "MyHudAlertSuccess"};
        for (const QString& name : icons)
            QVERIFY2(!rendered(imageNamed(name)).isNull(), qPrintable(name));
        QVERIFY(rendered(imageNamed(icons[0])) != rendered(imageNamed(icons[2])));
        // The alert's type, and the icon it shows.
        const std::pair<int, int> looks[] = {{5, 0}, {-1, 0}, {HudAlertType::error, 2}};
        for (const auto& [type, icon] : looks) {
            MyHudAlert::alertWithWindow(first.get(), type, QString());
            const MyHudAlert* alert = MyHudAlert::sharedAlert();
            QVERIFY(alert->iconView()->isVisible() && alert->hasClickMonitor());
            QCOMPARE(rendered(alert->iconView()->image()), rendered(imageNamed(icons[icon])));
        }
        MyHudAlert::dismisWindow();
    }

    void panelIsTranslucentBlackWithRoundedCorners()
    {
        MyHudAlert::alertWithWindow(second.get(), HudAlertType::busy, QStringLiteral("done"));
        QTRY_COMPARE(AlphaValue::alphaValue(panel()), 0.86);
        const QImage image = second->grab().toImage();
        const QPoint origin = panel()->pos();
        const QColor inside = image.pixelColor(origin + QPoint(4, panel()->height() / 2));
        // Black at alpha 0.86 over white.
        QVERIFY2(qAbs(inside.red() - 36) <= 3, qPrintable(inside.name()));
        QCOMPARE(image.pixelColor(origin), QColor(Qt::white));
        MyHudAlert::dismisWindow();
    }

    // The alert moves to the window it is shown over, centred there, and outlives a window.
    void followsItsParentWindow()
    {
        auto doomed = whiteWindow({300, 200});
        doomed->show();
        MyHudAlert::alertWithWindow(doomed.get(), HudAlertType::information, QStringLiteral("x"));
        doomed.reset();
        const MyHudAlert* alert = MyHudAlert::sharedAlert();
        QVERIFY(!alert->window() && !alert->messageField() && !alert->iconView() &&
                !alert->loadingIndicator());
        MyHudAlert::dismisWindow();
        for (QWidget* parent : {first.get(), second.get()}) {
            MyHudAlert::alertWithWindow(parent, HudAlertType::information, QStringLiteral("x"));
            QCOMPARE(panel()->parentWidget(), parent);
            QCOMPARE(panel()->geometry().center(), parent->rect().center());
        }
        QVERIFY(!first->findChild<MyHudAlertWindow*>());
        // A window with a shadow: centred on the surface, not on the shadow's margins.
        WAYWindow shadowed;
        Q_EMIT CompositingMonitor::instance()->compositingChanged(true);
        QVERIFY(shadowed.shadowMargins().top() != shadowed.shadowMargins().bottom());
        MyHudAlert::alertWithWindow(&shadowed, HudAlertType::information, QStringLiteral("x"));
        QCOMPARE(panel()->geometry().center(), shadowed.surfaceRect().center());
        MyHudAlert::dismisWindow();
    }
};

QTEST_MAIN(TestMyHudAlert)
#include "test_myhudalert.moc"
