#include "AnsweringSheets.h"
#include "app/MainWindowOutlets.h"
#include "app/PrefsVC.h"
#include "app/SecondaryScreens.h"
#include "app/Updater.h"
#include "engine/HudAlert.h"
#include "engine/ModalOverlay.h"
#include "engine/SheetPresenter.h"
#include "engine/ShredLists.h"
#include "engine/ShredTasks.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsSettings.h"
#include "engine/ZoneLooks.h"
#include "kit/MIHSliderView.h"
#include "platform/UserDefaults.h"
#include "tests/UrlCatcher.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QNetworkProxy>
#include <QPushButton>
#include <QSysInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

using namespace tolvex;

namespace {

struct NoLooks : ZoneLooks {
    void resetDefStateForPassViewWithTag(qint64) override {}
    void droppedStateForPassViewWithTag(qint64, const QStringList&, bool, bool) override {}
    void dropViewExited(const DropViewInfoDic&) override {}
};
struct NoHud : HudAlert {
    void alertWithWindow(int, const QString&) override {}
};
struct NoOverlay : ModalOverlay {
    void close() override {}
};

} // namespace

class TestPreferences : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    // What the screens open.
    testing::UrlCatcher opened_{{"http", "https", "mailto", "appstream"}};

private Q_SLOTS:
    void initTestCase()
    {
        UserDefaults::setStandardForTesting(folder_.filePath(QStringLiteral("settings.ini")));
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    }

    void init() { opened_.urls.clear(); }

    void totalsReadNothingYetThenTheFormattedSum()
    {
        QCOMPARE(SecondaryScreens::totalShredInfoText(), QStringLiteral("-no files shredded yet-"));
        Utils::overWriteTotalShredInfoDic({2000000, 3});
        QCOMPARE(SecondaryScreens::totalShredInfoText(),
                 Utils::getHumanReadableSizeFrom(2000000) + QStringLiteral(" in 3 files"));
        QCOMPARE(Utils::getHumanReadableSizeFrom(2000000), QStringLiteral("2 MB"));
    }

    void mailsAreTheExactStrings()
    {
        QCOMPARE(PreferencesScreen::tellAFriendMailto(),
                 QStringLiteral("mailto:?Subject=Tolvex%20-%20file%20shredding%20utility&body=Hi,"
                                "%20%0A%20I've%20recently%20come%20across%20this%20Mac%20app%20"
                                "called%20Tolvex.%20%0A%20It%20allows%20you%20to%20securely%20and%"
                                "20permanently%20erase%20sensitive%20data%20on%20your%20Mac!%20%0A"
                                "%20You%20can%20download%20it%20here%20-%20tolvex.app%20"));
        PrefsVC_vert screen;
        screen.tellaFriend(4);
        QCOMPARE(opened_.urls.size(), 1);
        QCOMPARE(QString::fromUtf8(opened_.urls.first().toEncoded()),
                 PreferencesScreen::tellAFriendMailto());

        QCOMPARE(SecondaryScreens::supportMailBody(),
                 QStringLiteral("\n\n\n\nTolvex %1\n%2")
                     .arg(QStringLiteral(TOLVEX_VERSION), QSysInfo::prettyProductName()));
    }

    void supportButtonClosesThenMails()
    {
        AnsweringSheets sheets(kAlertFirstButtonReturn);
        NoLooks looks;
        NoHud hud;
        NoOverlay overlay;
        ShredTasks tasks;
        ShredLists lists(tasks, looks, hud, overlay);
        MainWindowOutlets outlets;
        SecondaryScreens screens(outlets, lists, tasks, sheets);
        screens.installActionBlocks();

        screens.preferencesViewContr->view()
            ->findChild<QPushButton*>(QStringLiteral("supportButton"))
            ->click();
        QCOMPARE(opened_.urls.size(), 1);
        const QString mail = QString::fromUtf8(opened_.urls.first().toEncoded());
        QVERIFY2(
            mail.startsWith(QStringLiteral("mailto:support@tolvex.app?Subject=Tolvex%20Support%"
                                           "20and%20Feedback&body=%0A%0A%0A%0ATolvex%20")),
            qPrintable(mail));

        // Other tags leave everything as it is.
        screens.preferencesViewContr->prefsVCAction(7);
        QCOMPARE(opened_.urls.size(), 1);
    }

    void checkboxTitleAndBindingsFollowTheSettings()
    {
        PrefsVC_vert screen;
        QCOMPARE(PreferencesScreen::defShredCheckBtnTitle(true), QString());
        QCOMPARE(PreferencesScreen::defShredCheckBtnTitle(false),
                 QStringLiteral("Default shredding method"));

        screen.defShredCheckBtn->click();
        QVERIFY(Utils::defShreddingEnbled());
        QCOMPARE(screen.defShredCheckBtn->text(), QString());
        screen.defShredCheckBtn->click();
        QVERIFY(!Utils::defShreddingEnbled());
        QCOMPARE(screen.defShredCheckBtn->text(), QStringLiteral("Default shredding method"));

        auto* methods = screen.view()->findChild<QComboBox*>(QStringLiteral("defShredMethodPopUp"));
        methods->setCurrentIndex(2);
        QCOMPARE(Utils::defShredMethodInd(), 2);
        UserDefaults::standard().setInteger(Utils::DefaultsKey::selectedDefShredMethodInd, 1);
        QCOMPARE(methods->currentIndex(), 1);
        UserDefaults::standard().setBool(Utils::DefaultsKey::quitOnAllComplete, true);
        QVERIFY(screen.view()
                    ->findChild<QCheckBox*>(QStringLiteral("quitOnAllCompleteCheckBtn"))
                    ->isChecked());
    }

    void linksAndSharesOpenTheirPages()
    {
        PrefsVC screen;
        QWidget sender;
        for (qint64 tag : {3, 4, 5}) {
            screen.buttonActionsWithTag(tag, &sender);
        }
        for (qint64 tag : {0, 1, 2, 3}) {
            screen.learnMoreAction(tag);
            screen.openAppMASFromPageSlide(tag);
        }
        screen.tellaFriend(1);
        QCOMPARE(opened_.urls.size(), 3 + 3 + 3 + 1);
        QCOMPARE(opened_.urls[3].host(), QStringLiteral("nodewick.app"));
        QCOMPARE(opened_.urls[4].scheme(), QStringLiteral("appstream"));
        QVERIFY(opened_.urls.last().toString().contains(
            QStringLiteral("Securely and permanently erase")));

        QVERIFY(!screen.tellFriendPopOver->isVisible());
        screen.buttonActionsWithTag(1, screen.view());
        QVERIFY(screen.tellFriendPopOver->isVisible());
        screen.buttonActionsWithTag(1, screen.view());
        QVERIFY(!screen.tellFriendPopOver->isVisible());
    }

    void slideButtonsHideAtTheEnds()
    {
        PrefsVC screen;
        screen.sliderView->setScheduledTransition(false);
        QCOMPARE(screen.sliderView->slides(),
                 QList<QWidget*>({screen.slide3V, screen.slide1V, screen.slide2V}));
        screen.updateSlideButtons();
        QVERIFY(screen.prevSlideBtn->isHidden() && !screen.prevSlideBtn->isEnabled());
        QVERIFY(!screen.nextSlideBtn->isHidden() && screen.nextSlideBtn->isEnabled());
        screen.showNextSlide();
        QCOMPARE(screen.sliderView->indexOfDisplayedSlide(), 1);
        QVERIFY(screen.prevSlideBtn->isHidden());
        screen.showNextSlide();
        QCOMPARE(screen.sliderView->indexOfDisplayedSlide(), 2);
        QVERIFY(!screen.prevSlideBtn->isHidden() && screen.prevSlideBtn->isEnabled());
        QVERIFY(screen.nextSlideBtn->isHidden() && !screen.nextSlideBtn->isEnabled());
        screen.showNextSlide();
        QCOMPARE(screen.sliderView->indexOfDisplayedSlide(), 2);
        screen.showPrevSlide();
        screen.showPrevSlide();
        screen.showPrevSlide();
        QCOMPARE(screen.sliderView->indexOfDisplayedSlide(), 0);
        QVERIFY(screen.prevSlideBtn->isHidden());
    }

    void updateCheckTellsTheOutcome_data()
    {
        QTest::addColumn<QByteArray>("feed");
        QTest::addColumn<QString>("message");
        const QByteArray head =
            "<rss xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel>";
        QTest::newRow("newer") << head +
                                      "<item><enclosure url=\"https://tolvex.app/dl/9.0.tar.gz\" "
                                      "sparkle:shortVersionString=\"9.0\"/></item></channel></rss>"
                               << QStringLiteral("A new version of Tolvex is available!");
        QTest::newRow("same") << head + "<item><enclosure url=\"https://tolvex.app/dl\" "
                                        "sparkle:shortVersionString=\"" TOLVEX_VERSION
                                        "\"/></item></channel></rss>"
                              << QStringLiteral("You're up to date!");
        QTest::newRow("malformed")
            << QByteArray("<rss><channel><item>") << QStringLiteral("Update Error!");
        QTest::newRow("unreachable") << QByteArray() << QStringLiteral("Update Error!");
    }

    void updateCheckTellsTheOutcome()
    {
        QFETCH(QByteArray, feed);
        QFETCH(QString, message);
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QUrl url(QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(server.serverPort()));
        if (feed.isEmpty()) {
            server.close();
        }
        connect(&server, &QTcpServer::newConnection, &server, [&server, feed] {
            QTcpSocket* socket = server.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [socket, feed] {
                socket->readAll();
                socket->write(
                    "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(feed.size()) +
                    "\r\nConnection: close\r\n\r\n" + feed);
                socket->disconnectFromHost();
            });
        });

        AnsweringSheets sheets(kAlertFirstButtonReturn);
        Updater updater(sheets, url);
        updater.checkForUpdates();
        QVERIFY(updater.isChecking());
        updater.checkForUpdates();
        QTRY_VERIFY_WITH_TIMEOUT(!updater.isChecking(), 20000);
        QCOMPARE(sheets.shown.size(), 1);
        QCOMPARE(sheets.shown.first().messageText, message);
        if (QTest::currentDataTag() == QByteArray("newer")) {
            QCOMPARE(sheets.shown.first().buttons.first(), QStringLiteral("Download"));
            QCOMPARE(opened_.urls, QList<QUrl>{QUrl("https://tolvex.app/dl/9.0.tar.gz")});
        } else {
            QVERIFY(opened_.urls.isEmpty());
        }
    }
};

QTEST_MAIN(TestPreferences)
#include "test_preferences.moc"
