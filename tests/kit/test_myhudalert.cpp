#include "kit/ImageView.h"
#include "kit/Images.h"
#include "kit/MyHudAlert.h"
#include "kit/MyHudAlertWindow.h"
#include "kit/ProgressIndicator.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace tolvex;

namespace {

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

} // namespace

class TestMyHudAlert : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QWidget> first;
    std::unique_ptr<QWidget> second;
    QPushButton* button = nullptr;

    MyHudAlertWindow* panel() const { return MyHudAlert::sharedAlert()->window(); }

private Q_SLOTS:
    void initTestCase()
    {
        first = whiteWindow({400, 300});
        button = new QPushButton(QStringLiteral("Press"), first.get());
        button->setGeometry(10, 10, 80, 30);
        second = whiteWindow({500, 400});
        first->show();
        second->show();
        QVERIFY(QTest::qWaitForWindowExposed(first.get()));
        QVERIFY(QTest::qWaitForWindowExposed(second.get()));
    }

    // Runs first: the busy alert is the first alert of the process.
    void busyAlertStaysThroughClicksAndTime()
    {
        MyHudAlert::dismisWindow();
        QVERIFY(!MyHudAlert::sharedAlert());

        MyHudAlert::alertWithWindow(first.get(), HudAlertType::busy, QStringLiteral("Working"));
        MyHudAlert* alert = MyHudAlert::sharedAlert();
        QVERIFY(alert);
        QVERIFY(alert->loadingIndicator()->isVisible());
        QVERIFY(alert->loadingIndicator()->isAnimating());
        QVERIFY(alert->iconView()->isHidden());
        QVERIFY(!alert->hasClickMonitor());

        QTest::mouseClick(first.get(), Qt::LeftButton, {}, QPoint(390, 290));
        QTest::mouseClick(panel(), Qt::LeftButton);
        QTest::qWait(2300);
        QVERIFY(panel()->isVisible());
        MyHudAlert::dismisWindow();
        QVERIFY(!panel()->isVisible());
    }

    void clickOutsideClosesAndStillReachesItsTarget()
    {
        QSignalSpy clicked(button, &QPushButton::clicked);
        MyHudAlert::alertWithWindow(
            first.get(), HudAlertType::information,
            QStringLiteral("Shredding of this file/folder is not allowed\n"));
        QVERIFY(panel()->isVisible());
        QVERIFY(MyHudAlert::sharedAlert()->hasClickMonitor());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!panel()->isVisible());
        QCOMPARE(clicked.count(), 1);
        QVERIFY(!MyHudAlert::sharedAlert()->hasClickMonitor());
    }

    void clickOnTheAlertClosesIt()
    {
        MyHudAlert::alertWithWindow(first.get(), HudAlertType::success,
                                    QStringLiteral("7-pass shredding is complete!"));
        QTest::mouseClick(panel(), Qt::LeftButton);
        QVERIFY(!panel()->isVisible());
    }

    void aSecondAlertKeepsItsOwnTwoSeconds()
    {
        MyHudAlert::alertWithWindow(first.get(), HudAlertType::information, QStringLiteral("one"));
        QTest::qWait(1500);
        QElapsedTimer sinceSecond;
        sinceSecond.start();
        MyHudAlert::alertWithWindow(first.get(), HudAlertType::information, QStringLiteral("two"));
        QTest::qWait(1500); // the first alert's 2 s ended half way through this

        QVERIFY(panel()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!panel()->isVisible(), 1500);
        QVERIFY2(sinceSecond.elapsed() >= 1990, qPrintable(QString::number(sinceSecond.elapsed())));
        QCOMPARE(MyHudAlert::sharedAlert()->messageField()->text(), QStringLiteral("two"));
    }

    void aBusyAlertIsNotClosedByAnEarlierTimer()
    {
        MyHudAlert::alertWithWindow(first.get(), HudAlertType::information,
                                    QStringLiteral("timed"));
        MyHudAlert::alertWithWindow(first.get(), HudAlertType::busy, QStringLiteral("busy"));
        QTest::mouseClick(first.get(), Qt::LeftButton, {}, QPoint(390, 290));
        QTest::qWait(2300);
        QVERIFY(panel()->isVisible());
        MyHudAlert::dismisWindow();
    }

    void movesToASecondParentAndCentresThere()
    {
        MyHudAlert::alertWithWindow(first.get(), HudAlertType::information,
                                    QStringLiteral("first"));
        QCOMPARE(panel()->parentWidget(), first.get());
        MyHudAlert::alertWithWindow(second.get(), HudAlertType::information,
                                    QStringLiteral("second"));
        QCOMPARE(panel()->parentWidget(), second.get());
        QVERIFY(!first->findChild<MyHudAlertWindow*>());
        QCOMPARE(panel()->pos(),
                 QPoint((500 - panel()->width()) / 2, (400 - panel()->height()) / 2));
        MyHudAlert::dismisWindow();
    }

    void oddTypesAndAMissingMessageLookLikeInformation()
    {
        const QStringList icons = {"MyHudAlertInfo", "MyHudAlertWarn", "MyHudAlertError",
                                   "MyHudAlertSuccess"};
        for (const QString& name : icons)
            QVERIFY2(!rendered(imageNamed(name)).isNull(), qPrintable(name));
        QVERIFY(rendered(imageNamed(icons[0])) != rendered(imageNamed(icons[2])));
        for (const int type : {5, -1}) {
            MyHudAlert::alertWithWindow(first.get(), type, QString());
            MyHudAlert* alert = MyHudAlert::sharedAlert();
            QCOMPARE(alert->messageField()->text(), QString());
            QVERIFY(alert->iconView()->isVisible());
            QCOMPARE(rendered(alert->iconView()->image()), rendered(imageNamed("MyHudAlertInfo")));
            QVERIFY(alert->hasClickMonitor());
        }
        MyHudAlert::alertWithWindow(first.get(), HudAlertType::error, QStringLiteral("x"));
        QCOMPARE(rendered(MyHudAlert::sharedAlert()->iconView()->image()),
                 rendered(imageNamed("MyHudAlertError")));
        MyHudAlert::dismisWindow();
    }

    void panelIsTranslucentBlackWithRoundedCorners()
    {
        MyHudAlert::alertWithWindow(second.get(), HudAlertType::success, QStringLiteral("done"));
        QTest::qWait(400);
        const QImage image = second->grab().toImage();
        const QPoint origin = panel()->pos();
        const QColor inside = image.pixelColor(origin + QPoint(4, panel()->height() / 2));
        // Black at alpha 0.86 over white.
        QVERIFY2(qAbs(inside.red() - 36) <= 3, qPrintable(inside.name()));
        QCOMPARE(image.pixelColor(origin), QColor(Qt::white));
        MyHudAlert::dismisWindow();
    }

    void survivesItsParentWindow()
    {
        auto doomed = whiteWindow({300, 200});
        doomed->show();
        MyHudAlert::alertWithWindow(doomed.get(), HudAlertType::information, QStringLiteral("x"));
        doomed.reset();
        const MyHudAlert* alert = MyHudAlert::sharedAlert();
        QVERIFY(!alert->window());
        QVERIFY(!alert->messageField());
        QVERIFY(!alert->iconView());
        QVERIFY(!alert->loadingIndicator());
        MyHudAlert::dismisWindow();
        QTest::mouseClick(first.get(), Qt::LeftButton, {}, QPoint(390, 290));
        MyHudAlert::alertWithWindow(first.get(), HudAlertType::information,
                                    QStringLiteral("again"));
        QVERIFY(panel()->isVisible());
        QCOMPARE(panel()->parentWidget(), first.get());
        MyHudAlert::dismisWindow();
    }
};

QTEST_MAIN(TestMyHudAlert)
#include "test_myhudalert.moc"
