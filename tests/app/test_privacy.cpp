// The privacy road in the real window, over a temporary home with a fake Google Chrome whose
// running test is injected: the scanning look, the results in both layouts, a row's clean-up.
#include "../privacy/FakeBrowserHome.h"
#include "MainWindowRig.h"
#include "engine/UtilsSettings.h"
#include "kit/BarProgressIndicator.h"
#include "privacy/PrivScanVC.h"
#include "privacy/privCellView.h"

#include <QListWidget>
#include <QPushButton>
#include <QSet>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

// Nothing but the fake Chrome is installed, and it runs only when a test says so.
struct PrivacyRig : MainWindowRig {
    FakeBrowserHome browsers;
    QSet<QString> running;
    QStringList quitRequests;

    PrivacyRig() { browsers.desktopEntry("google-chrome.desktop", "Google Chrome"); }

    void startWithBrowsers()
    {
        start();
        delegate->privScanBlocks().setBrowserProcesses(
            {[this](const QString& id, const QString&) { return running.contains(id); },
             [this](const QString& id, BrowserProcesses::Ended ended) {
                 quitRequests << id;
                 ended(true);
             }});
    }

    QString chromeFile(const QString& name)
    {
        return browsers.file(".config/google-chrome/Default/" + name, QByteArray(100, 'x'));
    }

    JMModalOverlay* overlay() { return outlets().modalOverlay; }

    PrivScanVC* screen() { return delegate->privScanVC(Utils::windIsVert_cal()); }

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

        MainWindowOutlets& o = rig.outlets();
        o.titlebar->findChild<QAbstractButton*>(QStringLiteral("privacyButton"))->click();
        // The scanning look comes first; the screen follows.
        QVERIFY(o.privScanView->isVisible() && !o.startShredBtn->isVisible());
        QCOMPARE(o.privScanStatusLbl->text() + o.privScanNameLbl->text(), "Scanning...");
        QVERIFY(o.privacyScanEraseProgIndic->isAnimating() && !o.addNewFilesBtn->isEnabled());
        QVERIFY(!rig.overlay()->isShown());
        QTRY_VERIFY(rig.overlay()->isShown());

        PrivScanVC* screen = rig.screen();
        QCOMPARE(rig.overlay()->contentViewController(), screen);
        QCOMPARE(rig.overlay()->shouldOverlayTitleBar(), vertical);
        QVERIFY(!rig.overlay()->shouldCloseWhenClickOnBackground());
        QCOMPARE(screen->privTablView->count(), 5);
        QCOMPARE(screen->privTablView->item(0)->sizeHint().height(), rowHeight);
        privCellView* chrome = rig.row(0);
        QCOMPARE(chrome->brwNameLbl->text(), QStringLiteral("Google Chrome"));
        QVERIFY(chrome->brwHistoryInfoLbl->text().endsWith(" of data\n in 10 files"));
        QCOMPARE(chrome->brwCookiesInfoLbl->text(), "0 items");
        QVERIFY(chrome->cleanBrowsingHistoryBtn->isVisible() &&
                !chrome->brwIconBtn->icon().isNull());
        for (int index = 1; index < 5; ++index) {
            privCellView* absent = rig.row(index);
            QCOMPARE(absent->brwHistoryInfoLbl->text() + absent->brwCookiesInfoLbl->text(),
                     "Not InstalledNot Installed");
            QVERIFY(!absent->brwIconBtn->isEnabled() && !absent->brwIconBtn->icon().isNull());
            QVERIFY(!absent->cleanBrowsingHistoryBtn->isVisible() &&
                    !absent->cleanCookiesBtn->isVisible());
        }
        QCoreApplication::processEvents();
        MainWindowRig::saveScreenshot(rig.window->grab(), "privacy");

        screen->view()->findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
        QVERIFY(!rig.overlay()->isShown());
        QVERIFY(rig.isIdle());
    }

    // The shortcut scans at once, without the scanning look; a row then cleans its history, or
    // first asks to quit the browser when it runs.
    void cleanUpFromARow()
    {
        PrivacyRig rig;
        const QStringList history = {rig.chromeFile("History"), rig.chromeFile("Visited Links")};
        const QString cookies = rig.chromeFile("Cookies");
        rig.startWithBrowsers();

        rig.pressKey(Key::S, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(rig.overlay()->isShown() && !rig.outlets().privScanView->isVisible());

        rig.running = {QStringLiteral("com.google.Chrome")};
        AlertPresenter::setNextAnswer(AlertSecondButtonReturn);
        rig.row(0)->brwIconBtn->click();
        QVERIFY(!rig.overlay()->isShown());
        // The texts and the answer's effect are the privacy tests'; the icon is loaded here.
        const QList<Alert> alerts = AlertPresenter::takePresentedForTesting();
        QVERIFY(alerts.size() == 1 && !alerts.first().icon.isNull());
        QTRY_VERIFY(rig.isIdle());
        QVERIFY(rig.quitRequests.isEmpty() && QFileInfo::exists(history.first()));

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
};

QTEST_MAIN(TestPrivacy)
#include "test_privacy.moc"
