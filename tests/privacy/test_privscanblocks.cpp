// What the results screens' buttons start: closing, the quit sheets for running browsers, and
// the clean-ups that follow. No real browser is asked: the running test is injected.
#include "../app/AnsweringSheets.h"
#include "FakeBrowserHome.h"
#include "PrivacyFakes.h"
#include "privacy/PrivScanBlocks.h"
#include "privacy/PrivacyCleaner.h"

#include <QSet>
#include <QTest>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

const QString kMail = QStringLiteral("help@example.test");

// Browsers that run, by bundle identifier, and the quit requests they were sent.
struct FakeBrowsers {
    QSet<QString> running;
    bool quitSucceeds = true;
    QStringList quitRequests;

    BrowserProcesses processes()
    {
        return {[this](const QString& id, const QString&) { return running.contains(id); },
                [this](const QString& id) {
                    quitRequests << id;
                    return quitSucceeds;
                }};
    }
};

} // namespace

class TestPrivScanBlocks : public QObject {
    Q_OBJECT

    FakeBrowserHome home_;
    RecordingWindow window_;
    AnsweringSheets sheets_{kAlertFirstButtonReturn};
    FakeBrowsers browsers_;
    std::unique_ptr<PrivacyCleaner> cleaner_;
    std::unique_ptr<PrivScanBlocks> blocks_;

    PrivInfoDic chrome()
    {
        return browserRecord("Google Chrome", "com.google.Chrome", {home_.file("chrome/History")},
                             {home_.file("chrome/Cookies")});
    }
    PrivInfoDic firefox()
    {
        return browserRecord("Firefox", "org.mozilla.firefox",
                             {home_.file("ff/formhistory.sqlite")});
    }

private Q_SLOTS:
    void init()
    {
        window_ = {};
        sheets_ = AnsweringSheets(kAlertFirstButtonReturn);
        browsers_ = {};
        cleaner_ = std::make_unique<PrivacyCleaner>(window_, window_);
        blocks_ = std::make_unique<PrivScanBlocks>(*cleaner_, window_, sheets_, window_, kMail,
                                                   browsers_.processes());
    }

    void cleanup() { window_.finishCleanUps(); }

    void closeButtonRestoresTheIdleLook()
    {
        blocks_->privScanRowActionBlock(PrivScanBlocks::kCloseTag, std::nullopt, 0, false, false,
                                        false);
        window_.finishCleanUps();
        QCOMPARE(window_.steps, QStringList{"idle"});
        QCOMPARE(window_.overlayCloses, 1);
    }

    void browserNotRunningIsCleanedAtOnce()
    {
        const PrivInfoDic record = chrome();
        blocks_->privScanRowActionBlock(0, record, 0, true, false, false);
        window_.finishCleanUps();
        QVERIFY(sheets_.shown.isEmpty());
        QCOMPARE(window_.overlayCloses, 1);
        QVERIFY(!QFileInfo::exists(record.CookieStorage->kBrowserFilesToRemove->first()));
        QVERIFY(QFileInfo::exists(record.kBrowserPrivData.first().kBrowserFilePath));
        QCOMPARE(window_.steps.last(), QStringLiteral("hud 3 Clean up Complete!"));
    }

    void runningBrowserIsQuitOnlyWithConsent_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("quitSucceeds");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<bool>("cleaned");
        QTest::newRow("quit and continue") << kAlertFirstButtonReturn << true << false << true;
        QTest::newRow("vertical screen logs") << kAlertFirstButtonReturn << true << true << true;
        QTest::newRow("cancel") << kAlertFirstButtonReturn + 1 << true << false << false;
        QTest::newRow("quit refused") << kAlertFirstButtonReturn << false << false << false;
    }

    void runningBrowserIsQuitOnlyWithConsent()
    {
        QFETCH(int, answer);
        QFETCH(bool, quitSucceeds);
        QFETCH(bool, vertical);
        QFETCH(bool, cleaned);
        browsers_.running = {QStringLiteral("com.google.Chrome")};
        browsers_.quitSucceeds = quitSucceeds;
        sheets_.answers = {answer};
        const PrivInfoDic record = chrome();
        if (vertical)
            QTest::ignoreMessage(QtInfoMsg, "remove operation");

        blocks_->privScanRowActionBlock(2, record, 0, true, true, vertical);
        window_.finishCleanUps();

        QCOMPARE(sheets_.shown.size(), 1);
        const SheetAlert& alert = sheets_.shown.first();
        QCOMPARE(alert.messageText, QStringLiteral("Google Chrome is running"));
        QCOMPARE(alert.informativeText,
                 QStringLiteral("Tolvex needs you to Quit Google Chrome to continue.\n\n Should "
                                "you have any questions, please contact: help@example.test"));
        QCOMPARE(alert.buttons,
                 QStringList({"Quit Google Chrome and Continue", QStringLiteral("Cancel")}));
        QCOMPARE(alert.style, SheetAlert::Style::Critical);
        QCOMPARE(alert.iconFilePath, *record.kBrowserInstallPath);
        QCOMPARE(window_.overlayCloses, 1);
        QCOMPARE(browsers_.quitRequests.size(), answer == kAlertFirstButtonReturn ? 1 : 0);
        QCOMPARE(QFileInfo::exists(record.kBrowserPrivData.first().kBrowserFilePath), !cleaned);
        // Whatever happened, the window ends idle.
        QCOMPARE(window_.steps.contains(QStringLiteral("idle")), true);
        QCOMPARE(window_.huds(), cleaned ? 1 : 0);
    }

    void cleanAllNamesRunningBrowsersInRowOrder()
    {
        browsers_.running = {QStringLiteral("org.mozilla.firefox"),
                             QStringLiteral("com.google.Chrome")};
        const QList<PrivInfoDic> rows = {chrome(), firefox(), notInstalledRecord("Opera")};

        blocks_->privScanCleanUpAllBlock(0, rows, 0);
        window_.finishCleanUps();

        QCOMPARE(sheets_.shown.size(), 1);
        QCOMPARE(sheets_.shown.first().messageText,
                 QStringLiteral("At least one browser is running"));
        QCOMPARE(sheets_.shown.first().informativeText,
                 QStringLiteral("Tolvex will Quit Google Chrome, Firefox to continue."));
        QCOMPARE(sheets_.shown.first().buttons,
                 QStringList({"Quit and Continue", QStringLiteral("Cancel")}));
        QCOMPARE(browsers_.quitRequests,
                 QStringList({"com.google.Chrome", QStringLiteral("org.mozilla.firefox")}));
        QCOMPARE(window_.huds(), 3);
        QVERIFY(!QFileInfo::exists(rows[1].kBrowserPrivData.first().kBrowserFilePath));
    }

    void cleanAllWithNothingRunningCleansEveryRow()
    {
        const QList<PrivInfoDic> rows = {chrome(), notInstalledRecord("Opera"),
                                         notInstalledRecord("Vivaldi")};
        blocks_->privScanCleanUpAllBlock(0, rows, 0);
        window_.finishCleanUps();
        QVERIFY(sheets_.shown.isEmpty());
        QCOMPARE(window_.overlayCloses, 1);
        QCOMPARE(window_.huds(), 3);
        QVERIFY(!QFileInfo::exists(rows[0].CookieStorage->kBrowserFilesToRemove->first()));
    }
};

QTEST_GUILESS_MAIN(TestPrivScanBlocks)
#include "test_privscanblocks.moc"
