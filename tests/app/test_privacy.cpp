// The privacy road in the real window: the request, the scanning look, the results screen in
// both layouts, a clean-up started from a row, and the window's looks on the way. The scan sees
// only a temporary home with a fake Google Chrome; the running test is injected.
#include "../privacy/FakeBrowserHome.h"
#include "MainWindowRig.h"
#include "engine/UtilsSettings.h"
#include "privacy/BarProgressIndicator.h"
#include "privacy/PrivScanVC.h"
#include "privacy/privCellView.h"

#include <QListWidget>
#include <QPushButton>
#include <QSet>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

const QString kNotInstalled = QStringLiteral("Not Installed");

// Nothing but the fake Chrome is installed, and it runs only when a test says so.
struct PrivacyRig : MainWindowRig {
    FakeBrowserHome browsers;
    QSet<QString> running;
    QStringList quitRequests;

    PrivacyRig()
    {
        browsers.desktopEntry(QStringLiteral("google-chrome.desktop"),
                              "[Desktop Entry]\nType=Application\nName=Google Chrome\nExec=true\n");
    }

    void startWithBrowsers()
    {
        start();
        delegate->privScanBlocks().setBrowserProcesses(
            {[this](const QString& id, const QString&) { return running.contains(id); },
             [this](const QString& id) {
                 quitRequests << id;
                 return true;
             }});
    }

    QString chromeFile(const QString& name)
    {
        return browsers.file(QStringLiteral(".config/google-chrome/Default/") + name,
                             QByteArray(100, 'x'));
    }

    JMModalOverlay* overlay() { return outlets().modalOverlay; }

    PrivScanVC* screen()
    {
        return Utils::windIsVert_cal() ? static_cast<PrivScanVC*>(delegate->privScan_VCvert)
                                       : delegate->privScan_VC;
    }

    privCellView* row(int index)
    {
        QListWidget* table = screen()->privTablView;
        return static_cast<privCellView*>(table->itemWidget(table->item(index)));
    }

    bool isIdle()
    {
        return !outlets().privScanView->isVisible() && outlets().startShredBtn->isVisible() &&
               outlets().addNewFilesBtn->isEnabled() &&
               outlets().privacyScanEraseProgIndic->isIndeterminate() &&
               !outlets().privacyScanEraseProgIndic->isAnimating();
    }
};

} // namespace

class TestPrivacy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { AlertPresenter::takePresentedForTesting(); }

    void refusedWhileAListShreds()
    {
        MainWindowRig rig;
        rig.startShredding({7});
        rig.delegate->privacyCleanUp();
        QCOMPARE(MainWindowRig::hud(),
                 QStringLiteral("Please wait for shredding tasks to complete"));
        QTest::qWait(200);
        QVERIFY(!rig.outlets().privScanView->isVisible());
        QVERIFY(!rig.outlets().modalOverlay->isShown());
        QVERIFY(AlertPresenter::takePresentedForTesting().isEmpty());
    }

    void resultsInBothLayouts_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<int>("rowHeight");
        QTest::newRow("horizontal") << false << 82;
        QTest::newRow("vertical") << true << 120;
    }

    void resultsInBothLayouts()
    {
        QFETCH(bool, vertical);
        QFETCH(int, rowHeight);
        PrivacyRig rig;
        rig.chromeFile(QStringLiteral("History"));
        rig.startWithBrowsers();
        if (vertical)
            rig.delegate->toggleWindowHorizontal();

        rig.outlets()
            .titlebar->findChild<QAbstractButton*>(QStringLiteral("privacyButton"))
            ->click();
        // The scanning look comes first; the screen follows.
        QVERIFY(rig.outlets().privScanView->isVisible());
        QVERIFY(!rig.outlets().startShredBtn->isVisible());
        QCOMPARE(rig.outlets().privScanStatusLbl->text(), QStringLiteral("Scanning..."));
        QCOMPARE(rig.outlets().privScanNameLbl->text(), QString());
        QVERIFY(rig.outlets().privacyScanEraseProgIndic->isAnimating());
        QVERIFY(!rig.outlets().addNewFilesBtn->isEnabled());
        QVERIFY(!rig.overlay()->isShown());
        QTRY_VERIFY(rig.overlay()->isShown());

        PrivScanVC* screen = rig.screen();
        QCOMPARE(rig.overlay()->contentViewController(), screen);
        QCOMPARE(rig.overlay()->shouldOverlayTitleBar(), vertical);
        QCOMPARE(rig.overlay()->shouldCloseWhenClickOnBackground(), false);
        QCOMPARE(screen->privTablView->count(), 5);
        QCOMPARE(screen->privTablView->item(0)->sizeHint().height(), rowHeight);
        privCellView* chrome = rig.row(0);
        QCOMPARE(chrome->brwNameLbl->text(), QStringLiteral("Google Chrome"));
        QVERIFY(
            chrome->brwHistoryInfoLbl->text().endsWith(QStringLiteral(" of data\n in 10 files")));
        QCOMPARE(chrome->brwCookiesInfoLbl->text(), QStringLiteral("0 items"));
        QVERIFY(chrome->cleanBrowsingHistoryBtn->isVisible());
        QVERIFY(!chrome->brwIconBtn->icon().isNull());
        for (int index = 1; index < 5; ++index) {
            privCellView* absent = rig.row(index);
            QCOMPARE(absent->brwHistoryInfoLbl->text(), kNotInstalled);
            QCOMPARE(absent->brwCookiesInfoLbl->text(), kNotInstalled);
            QVERIFY(!absent->brwIconBtn->isEnabled());
            QVERIFY(!absent->brwIconBtn->icon().isNull());
            QVERIFY(!absent->cleanBrowsingHistoryBtn->isVisible());
            QVERIFY(!absent->cleanCookiesBtn->isVisible());
        }
        QCoreApplication::processEvents();
        const QString folder = QStringLiteral(TOLVEX_SCREENSHOT_DIR);
        QDir().mkpath(folder);
        QVERIFY(rig.window->grab().save(
            QDir(folder).filePath(vertical ? "privacy-vertical.png" : "privacy-horizontal.png")));

        screen->view()->findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
        QVERIFY(!rig.overlay()->isShown());
        QVERIFY(rig.isIdle());
    }

    // The shortcut scans at once, without the scanning look; a row then cleans its history, or
    // first asks to quit the browser when it runs.
    void cleanUpFromARow()
    {
        PrivacyRig rig;
        const QStringList history = {rig.chromeFile(QStringLiteral("History")),
                                     rig.chromeFile(QStringLiteral("Visited Links"))};
        const QString cookies = rig.chromeFile(QStringLiteral("Cookies"));
        rig.startWithBrowsers();

        rig.pressKey(Key::S, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(rig.overlay()->isShown());
        QVERIFY(!rig.outlets().privScanView->isVisible());

        rig.running = {QStringLiteral("com.google.Chrome")};
        AlertPresenter::setNextAnswer(AlertSecondButtonReturn);
        rig.row(0)->brwIconBtn->click();
        QVERIFY(!rig.overlay()->isShown());
        const QList<Alert> alerts = AlertPresenter::takePresentedForTesting();
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(alerts.first().messageText, QStringLiteral("Google Chrome is running"));
        QVERIFY(alerts.first().informativeText.endsWith(QStringLiteral("support@tolvex.app")));
        QCOMPARE(alerts.first().alertStyle, AlertStyle::Critical);
        QVERIFY(!alerts.first().icon.isNull());
        QTRY_VERIFY(rig.isIdle());
        QVERIFY(rig.quitRequests.isEmpty());
        QVERIFY(QFileInfo::exists(history.first()));

        rig.running.clear();
        rig.delegate->privScanStart();
        rig.row(0)->cleanBrowsingHistoryBtn->click();
        QTRY_COMPARE(MainWindowRig::hud(), QStringLiteral("Clean up Complete!"));
        QTRY_VERIFY(rig.isIdle());
        for (const QString& path : history)
            QVERIFY(!QFileInfo::exists(path));
        QVERIFY(QFileInfo::exists(cookies));
        // Two of the ten listed files existed: the bar stopped at a fifth.
        QCOMPARE(rig.outlets().privScanStatusLbl->text(), QStringLiteral("20 %"));
        QCOMPARE(rig.outlets().privScanNameLbl->text(), QStringLiteral("Cleaning History Data..."));
    }

    void rowButtonsHandTheirRowOn_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("cookies");
        QTest::addColumn<bool>("history");
        QTest::newRow("icon") << "brwIconBtn" << true << true;
        QTest::newRow("cookies") << "cleanCookiesBtn" << true << false;
        QTest::newRow("history") << "cleanBrowsingHistoryBtn" << false << true;
    }

    void rowButtonsHandTheirRowOn()
    {
        QFETCH(QString, button);
        QFETCH(bool, cookies);
        QFETCH(bool, history);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        PrivScanVC screen;
        PrivInfoDic opera;
        opera.kBrowserName = QStringLiteral("Opera");
        opera.kBrowserNotInstalled = kNotInstalled;
        PrivInfoDic vivaldi;
        vivaldi.kBrowserName = QStringLiteral("Vivaldi");
        vivaldi.kBrowserBndlID = QStringLiteral("com.vivaldi.Vivaldi");
        vivaldi.kBrowserPrivacyItemsCount = 1234567;
        vivaldi.kBrowserPrivacyInFilesCount = 11;
        vivaldi.CookieStorage = CookiesDic{QString(), 4321, std::nullopt};
        screen.setBrowserDicsArr({opera, vivaldi});
        qint64 tag = -1;
        QString name;
        std::pair<bool, bool> flags;
        screen.actionWithIndex = [&](qint64 t, const std::optional<PrivInfoDic>& record, qint64,
                                     bool c, bool h) {
            tag = t;
            name = record->kBrowserName;
            flags = {c, h};
        };

        QListWidget* table = screen.privTablView;
        auto* row = static_cast<privCellView*>(table->itemWidget(table->item(1)));
        QCOMPARE(row->brwHistoryInfoLbl->text(), QStringLiteral("1,234,567 items\n in 11 files"));
        QCOMPARE(row->brwCookiesInfoLbl->text(), QStringLiteral("4,321 items"));
        row->findChild<QPushButton*>(button)->click();
        QCOMPARE(tag, 1);
        QCOMPARE(name, QStringLiteral("Vivaldi"));
        QCOMPARE(flags, std::make_pair(cookies, history));
        QLocale::setDefault(QLocale::system());
    }
};

// The program asks for Full Disk Access before it scans, where the system has such a thing.
class NoDiskAccessDelegate : public AppDelegate {
public:
    using AppDelegate::AppDelegate;
    int permissionRequests = 0;
    bool shouldShowAlertAboutFullDiskAccess() override { return true; }
    void askUserPermissionForFullDiskAccess() override { ++permissionRequests; }
};

class TestFullDiskAccess : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sheetBeforeTheScan_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("scans");
        QTest::newRow("open the settings") << AlertFirstButtonReturn << false;
        QTest::newRow("continue") << AlertSecondButtonReturn << true;
        QTest::newRow("cancel") << AlertThirdButtonReturn << false;
    }

    void sheetBeforeTheScan()
    {
        QFETCH(int, answer);
        QFETCH(bool, scans);
        PrivacyRig rig;
        NoDiskAccessDelegate delegate;
        std::unique_ptr<WAYWindow> window(MainWindowBuilder::build(delegate));
        delegate.applicationDidFinishLaunching();
        window->show();
        AlertPresenter::takePresentedForTesting();
        AlertPresenter::setNextAnswer(answer);

        delegate.privacyCleanUp();
        QTest::qWait(300);

        const QList<Alert> alerts = AlertPresenter::takePresentedForTesting();
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(alerts.first().messageText, QStringLiteral("User action needed"));
        QCOMPARE(alerts.first().buttons,
                 QStringList({"Open Full Disk Access Tab", "Continue with limited access",
                              QStringLiteral("Cancel")}));
        QCOMPARE(delegate.outlets().modalOverlay->isShown(), scans);
        QCOMPARE(delegate.permissionRequests, answer == AlertFirstButtonReturn ? 1 : 0);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestPrivacy privacy;
    TestFullDiskAccess fullDiskAccess;
    return QTest::qExec(&privacy, argc, argv) | QTest::qExec(&fullDiskAccess, argc, argv);
}

#include "test_privacy.moc"
