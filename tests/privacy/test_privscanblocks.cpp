// What the results screens' buttons start: closing, the quit sheets for running browsers, the
// clean-ups. No real browser is asked: the one process asked to quit is a stand-in.
#include "FakeBrowserHome.h"
#include "PrivacyFakes.h"
#include "platform/Task.h"
#include "privacy/PrivFileRows.h"
#include "privacy/PrivScanBlocks.h"
#include "privacy/PrivacyCleaner.h"
#include "privacy/UtilsDatabase.h"

#include <QSet>
#include <QTest>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

const QString kMail = QStringLiteral("help@example.test");
const QString kComplete = QStringLiteral("hud 3 Clean up Complete!");

// Browsers that run, by bundle identifier, the quit requests they were sent, and those that do
// not end when asked.
struct FakeBrowsers {
    QSet<QString> running;
    QSet<QString> staying;
    QStringList quitRequests;

    BrowserProcesses processes()
    {
        return {[this](const QString& id, const QString&) { return running.contains(id); },
                [this](const QString& id, BrowserProcesses::Ended ended) {
                    quitRequests << id;
                    ended(!staying.contains(id));
                }};
    }
};

} // namespace

class TestPrivScanBlocks : public QObject {
    Q_OBJECT

    FakeBrowserHome home_;
    RecordingWindow window_;
    FakeBrowsers browsers_;
    std::unique_ptr<PrivacyCleaner> cleaner_;
    std::unique_ptr<PrivScanBlocks> blocks_;

    PrivInfoDic chrome()
    {
        return browserRecord("Google Chrome", "com.google.Chrome",
                             {home_.file(".config/chrome/History")},
                             {home_.file(".config/chrome/Cookies")});
    }

private Q_SLOTS:
    void init()
    {
        window_ = {};
        browsers_ = {};
        cleaner_ = std::make_unique<PrivacyCleaner>(window_, window_, window_);
        blocks_ = std::make_unique<PrivScanBlocks>(*cleaner_, window_, window_, window_, kMail,
                                                   browsers_.processes());
    }

    void cleanup() { window_.finishCleanUps(); }

    // A running browser is asked first; the clean-up waits for it to end, and a browser that
    // does not end keeps all of its data and is named in a sheet. The vertical screen logs the
    // consent. Declining is the privacy road's test.
    void runningBrowserIsQuitFirst_data()
    {
        QTest::addColumn<bool>("ends");
        QTest::newRow("ends") << true;
        QTest::newRow("does not end") << false;
    }

    void runningBrowserIsQuitFirst()
    {
        QFETCH(bool, ends);
        browsers_.running = {"com.google.Chrome"};
        browsers_.staying = {ends ? "" : "com.google.Chrome"};
        const PrivInfoDic record = chrome();
        QTest::ignoreMessage(QtInfoMsg, "remove operation");

        blocks_->privScanRowActionBlock(2, record, 0, true, true, true);
        window_.finishCleanUps();

        QCOMPARE(window_.overlayCloses, 1);
        QCOMPARE(QFileInfo::exists(record.kBrowserPrivData.first().kBrowserFilePath), !ends);
        QCOMPARE(QFileInfo::exists(record.CookieStorage->kBrowserFilesToRemove->first()), !ends);
        QCOMPARE(window_.steps.last(), ends ? kComplete : "sheet Google Chrome did not quit");
        QCOMPARE(browsers_.quitRequests, QStringList{"com.google.Chrome"});
        const SheetAlert& alert = window_.shown.first();
        QCOMPARE(
            alert.messageText + '|' + alert.informativeText + '|' + alert.buttons.join('|'),
            QStringLiteral("Google Chrome is running|Tolvex needs you to Quit Google Chrome to "
                           "continue.\n\n Should you have any questions, please contact: "
                           "help@example.test|Quit Google Chrome and Continue|Cancel"));
        QCOMPARE(alert.style, SheetAlert::Style::Critical);
    }

    // A browser holds its database until it has ended: the clean-up waits for that.
    void aQuittingBrowserIsWaitedFor()
    {
        const QString places = home_.database(".mozilla/held/places.sqlite",
                                              {{"moz_places", 2}, {"moz_historyvisits", 2}});
        Task browser(QStringLiteral(TOLVEX_LOCKING_BROWSER), {places});
        std::atomic<bool> ready = false;
        browser.setReadabilityHandler([&](const QByteArray&) { ready = true; });
        QVERIFY(browser.launch());
        QTRY_VERIFY(ready);
        const RunningApplication application(pid_t(browser.processIdentifier()));
        blocks_->setBrowserProcesses(
            {[](const QString&, const QString&) { return true; },
             BrowserProcesses::quitting([&](const QString&) { return QList{application}; })});
        PrivInfoDic record = browserRecord("Firefox", "org.mozilla.firefox", {});
        record.kBrowserPrivData = {PrivFileRows::fileRow(places, 0, {QStringLiteral("empty")})};

        blocks_->privScanRowActionBlock(0, record, 0, false, true, false);
        QTRY_COMPARE(window_.steps.last(), kComplete);
        browser.waitUntilExit();
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places, "moz_places") +
                     Utils::countRecordsInDBFileAtPath(places, "moz_historyvisits"),
                 0u);
    }

    // Clean-all asks once for every running browser, in row order, and cleans every row but
    // those of a browser that did not end; not-installed rows still get their notice.
    void cleanAllQuitsRunningBrowsersInRowOrder_data()
    {
        QTest::addColumn<QStringList>("running");
        QTest::addColumn<QStringList>("staying");
        const QStringList both{"org.mozilla.firefox", "com.google.Chrome"};
        QTest::newRow("nothing running") << QStringList() << QStringList();
        QTest::newRow("both end") << both << QStringList();
        QTest::newRow("Firefox stays") << both << QStringList{"org.mozilla.firefox"};
    }

    void cleanAllQuitsRunningBrowsersInRowOrder()
    {
        QFETCH(QStringList, running);
        QFETCH(QStringList, staying);
        browsers_.running = QSet<QString>(running.begin(), running.end());
        browsers_.staying = QSet<QString>(staying.begin(), staying.end());
        PrivInfoDic opera;
        opera.kBrowserName = QStringLiteral("Opera");
        opera.kBrowserNotInstalled = QStringLiteral("Not Installed");
        const QList<PrivInfoDic> rows = {
            chrome(),
            browserRecord("Firefox", "org.mozilla.firefox",
                          {home_.file(".mozilla/ff/formhistory.sqlite")}),
            opera};

        blocks_->privScanCleanUpAllBlock(0, rows, 0);
        window_.finishCleanUps();

        QCOMPARE(window_.overlayCloses, 1);
        QCOMPARE(window_.steps.filter("hud ").size(), 3 - staying.size());
        QVERIFY(!QFileInfo::exists(rows[0].kBrowserPrivData.first().kBrowserFilePath));
        QCOMPARE(QFileInfo::exists(rows[1].kBrowserPrivData.first().kBrowserFilePath),
                 !staying.isEmpty());
        if (running.isEmpty()) {
            QVERIFY(window_.shown.isEmpty());
            return;
        }
        const SheetAlert& alert = window_.shown.first();
        QCOMPARE(alert.messageText + '|' + alert.informativeText + '|' + alert.buttons.join('|'),
                 QStringLiteral("At least one browser is running|Tolvex will Quit Google Chrome, "
                                "Firefox to continue.|Quit and Continue|Cancel"));
        QCOMPARE(browsers_.quitRequests, QStringList({"com.google.Chrome", "org.mozilla.firefox"}));
        QCOMPARE(window_.shown.size(), staying.isEmpty() ? 1 : 2);
    }
};

QTEST_GUILESS_MAIN(TestPrivScanBlocks)
#include "test_privscanblocks.moc"
