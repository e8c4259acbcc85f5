#include "AnsweringSheets.h"
#include "app/MainWindowOutlets.h"
#include "app/PrefsVC.h"
#include "app/SecondaryScreens.h"
#include "app/Updater.h"
#include "engine/UtilsSettings.h"
#include "kit/MIHSliderView.h"
#include "platform/UserDefaults.h"
#include "tests/UrlCatcher.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tolvex;

class TestPreferences : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    // What the screens open.
    testing::UrlCatcher opened_{{"http", "https", "mailto", "appstream"}};

private Q_SLOTS:
    void initTestCase()
    {
        UserDefaults::setStandardForTesting(folder_.filePath(QStringLiteral("settings.ini")));
    }

    void init() { opened_.urls.clear(); }

    void totalsCheckboxTitleAndBindingsFollowTheSettings()
    {
        // The totals once there are some are the screens test's.
        QCOMPARE(SecondaryScreens::totalShredInfoText(), QStringLiteral("-no files shredded yet-"));

        PrefsVC_vert screen;
        for (const bool on : {true, false}) {
            screen.defShredCheckBtn->click();
            QCOMPARE(Utils::defShreddingEnbled(), on);
            QCOMPARE(screen.defShredCheckBtn->text(), on ? "" : "Default shredding method");
        }

        auto* methods = screen.view()->findChild<QComboBox*>(QStringLiteral("defShredMethodPopUp"));
        methods->setCurrentIndex(2);
        QCOMPARE(Utils::defShredMethodInd(), 2);
        UserDefaults::standard().setInteger(Utils::DefaultsKey::selectedDefShredMethodInd, 1);
        QCOMPARE(methods->currentIndex(), 1);
        UserDefaults::standard().setInteger(Utils::DefaultsKey::selectedDefShredMethodInd, 3);
        QCOMPARE(methods->currentIndex(), 0);
        UserDefaults::standard().setBool(Utils::DefaultsKey::quitOnAllComplete, true);
        QVERIFY(screen.view()
                    ->findChild<QCheckBox*>(QStringLiteral("quitOnAllCompleteCheckBtn"))
                    ->isChecked());
    }

    void linksSharesPopoverAndSlidesOfTheHorizontalScreen()
    {
        PrefsVC screen;
        for (qint64 tag : {0, 1, 2, 3}) {
            screen.buttonActionsWithTag(tag + 3, screen.view());
            screen.learnMoreAction(tag);
            screen.openAppMASFromPageSlide(tag);
        }
        screen.tellaFriend(1);
        screen.tellaFriend(4);
        QCOMPARE(opened_.urls.size(), 3 + 3 + 3 + 2);
        QCOMPARE(opened_.urls[1].host(), "nodewick.app");
        QCOMPARE(opened_.urls[2].scheme(), "appstream");
        QVERIFY(opened_.urls[9].toString().contains("Securely and permanently erase"));
        QVERIFY(opened_.urls.last().toEncoded().startsWith(
            "mailto:?Subject=Tolvex%20-%20file%20shredding%20utility&body="));

        screen.buttonActionsWithTag(1, screen.view());
        QVERIFY(screen.tellFriendPopOver->isVisible());
        screen.buttonActionsWithTag(1, screen.view());
        QVERIFY(!screen.tellFriendPopOver->isVisible());

        // A slide button shows only where there is a slide to go to.
        screen.sliderView->setScheduledTransition(false);
        QCOMPARE(screen.sliderView->slides(),
                 QList<QWidget*>({screen.slide3V, screen.slide1V, screen.slide2V}));
        const auto on = [](QWidget* button) { return !button->isHidden() && button->isEnabled(); };
        // A step, how often it is taken, and the slide and the buttons it leaves.
        for (const auto& [step, times, slide, previous, next] :
             {std::tuple{&PrefsVC::updateSlideButtons, 1, 0, false, true},
              {&PrefsVC::showNextSlide, 1, 1, true, true},
              {&PrefsVC::showNextSlide, 2, 2, true, false},
              {&PrefsVC::showPrevSlide, 3, 0, false, true}}) {
            for (int i = 0; i < times; ++i)
                (screen.*step)();
            QCOMPARE(screen.sliderView->indexOfDisplayedSlide(), slide);
            QCOMPARE(on(screen.prevSlideBtn), previous);
            QCOMPARE(on(screen.nextSlideBtn), next);
        }
    }

    void updateCheckTellsTheOutcome_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<QString>("message");
        QTest::newRow("newer") << QByteArray("9.0") << "A new version of Tolvex is available!";
        QTest::newRow("same") << QByteArray(TOLVEX_VERSION) << "You're up to date!";
        QTest::newRow("missing") << QByteArray() << "Update Error!";
    }

    void updateCheckTellsTheOutcome()
    {
        QFETCH(QByteArray, version);
        QFETCH(QString, message);
        // The feed is a file; without one the check fails as an unreachable server would.
        QFile feed(folder_.filePath(QTest::currentDataTag()));
        if (!version.isEmpty())
            QVERIFY(feed.open(QIODevice::WriteOnly) &&
                    feed.write("<rss xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/"
                               "sparkle\"><channel><item><enclosure url=\"https://tolvex.app/dl/" +
                               version + ".tar.gz\" sparkle:shortVersionString=\"" + version +
                               "\"/></item></channel></rss>") > 0);
        feed.close();
        AnsweringSheets sheets(kAlertFirstButtonReturn);
        Updater updater(sheets, QUrl::fromLocalFile(feed.fileName()));
        updater.checkForUpdates();
        QVERIFY(updater.isChecking());
        updater.checkForUpdates();
        QTRY_VERIFY_WITH_TIMEOUT(!updater.isChecking(), 20000);
        QCOMPARE(sheets.shown.size(), 1);
        QCOMPARE(sheets.shown.first().messageText, message);
        const bool newer = QTest::currentDataTag() == QByteArray("newer");
        QCOMPARE(sheets.shown.first().buttons.first() == "Download", newer);
        QCOMPARE(opened_.urls,
                 newer ? QList<QUrl>{QUrl("https://tolvex.app/dl/9.0.tar.gz")} : QList<QUrl>());
    }
};

QTEST_MAIN(TestPreferences)
#include "test_preferences.moc"
