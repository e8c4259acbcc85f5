// What the scan finds where each build of a browser keeps its profiles; what one browser's
// clean-up removes, keeps, empties and reports left, and its steps; the database calls it empties
// tables with; what the results screens' buttons start: closing, the quit sheets for running
// browsers, the clean-ups. No real browser is asked: the one process asked to quit is a stand-in.
#include "FakeBrowserHome.h"
#include "PrivacyFakes.h"
#include "platform/Task.h"
#include "privacy/PrivFileRows.h"
#include "privacy/PrivScanBlocks.h"
#include "privacy/PrivacyCleaner.h"
#include "privacy/UtilsDatabase.h"
#include "privacy/UtilsPrivacy.h"

#include <QDirIterator>
#include <QSet>
#include <QTest>
#include <QThread>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

const QString kHistory = QStringLiteral("Cleaning History Data...");
const QString kCookies = QStringLiteral("Cleaning Cookie Data...");
const QString kComplete = QStringLiteral("hud 3 Clean up Complete!");
const QString kMail = QStringLiteral("help@example.test");

// A cookie store kept in memory, each deletion taking `deleteMs`. One clean-up at a time
// deletes, and the test reads only once it has ended.
struct MemoryCookieStorage : HTTPCookieStorage {
    explicit MemoryCookieStorage(int count, unsigned long deleteMs = 0) : deleteMs(deleteMs)
    {
        for (int i = 0; i < count; ++i)
            stored << HTTPCookie{QStringLiteral("example.test"), QString::number(i), "/"};
    }
    QList<HTTPCookie> cookies() const override { return stored; }
    void deleteCookie(const HTTPCookie& cookie) override
    {
        QThread::msleep(deleteMs);
        stored.removeOne(cookie);
    }

    const unsigned long deleteMs;
    QList<HTTPCookie> stored;
};

using Ids = QSet<QString>;

// Browsers that run, by bundle identifier, the quit requests they were sent, and those that do
// not end when asked.
struct FakeBrowsers {
    Ids running;
    Ids staying;
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

const QByteArray kVisited = "https://visited.example/";
const QString kProfile = "Profiles/x.default-release/";
const QByteArray kProfilesIni = "[Install4F96D1932A9F858E]\nDefault=Profiles/x.default-release\n"
                                "[Profile0]\nIsRelative=1\nPath=Profiles/x.default-release\n";
// A profile of a current release: databases (from the fixture after '=') and visited pages.
const QStringList kChromiumProfile =
    QString("History=chromium-history,Favicons=chromium-favicons,Top Sites=chromium-top-sites,"
            "Network/Cookies=chromium-cookies,Sessions/Session_1,Sessions/Tabs_1,"
            "Local Storage/leveldb/3.log,Visited Links")
        .split(',');
const QStringList kFirefoxProfile =
    QString("places.sqlite=firefox-places,favicons.sqlite=firefox-favicons,cookies.sqlite="
            "firefox-cookies,formhistory.sqlite=firefox-formhistory,sessionstore.jsonlz4,"
            "sessionstore-backups/recovery.jsonlz4")
        .split(',');

QList<PrivInfoDic> scan()
{
    QList<PrivInfoDic> records;
    Utils::getPrivacyScanInfoArrBlock([&](const QList<PrivInfoDic>& all) { records << all; });
    return records;
}

// The rows with their counts, then what the clean-up removes.
QString summary(const PrivInfoDic& record)
{
    QString text;
    for (const PrivFileDic& row : record.kBrowserPrivData)
        text += QStringLiteral("%1 %2,").arg(row.kBrowserFileName).arg(row.kBrowserFilesCount);
    return text + QString::asprintf("%llu files, %llu cookies", record.kBrowserPrivacyInFilesCount,
                                    record.CookieStorage->CookieStorageCount);
}

QMap<QString, QByteArray> filesBelow(const QString& root)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile file(it.next());
        files[file.fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : "unreadable";
    }
    return files;
}

} // namespace

class TestBrowserPrivacy : public QObject {
    Q_OBJECT

    std::optional<FakeBrowserHome> home_;
    QString places_;

    RecordingWindow window_;
    FakeBrowsers browsers_;
    std::unique_ptr<PrivacyCleaner> cleaner_;
    std::unique_ptr<PrivScanBlocks> blocks_;

    QString file(const QString& underConfig) const { return home_->file(".config/" + underConfig); }

    PrivInfoDic chrome()
    {
        return browserRecord("Google Chrome", "com.google.Chrome",
                             {home_->file(".config/chrome/History")},
                             {home_->file(".config/chrome/Cookies")});
    }

private Q_SLOTS:
    void init()
    {
        home_.emplace();
        places_ = home_->database(
            "places.sqlite", {{"moz_historyvisits", 4}, {"moz_places", 3}, {"moz_origins", 1}});
        window_ = {};
        browsers_ = {};
        cleaner_ = std::make_unique<PrivacyCleaner>(window_, window_, window_);
        blocks_ = std::make_unique<PrivScanBlocks>(*cleaner_, window_, window_, window_, kMail,
                                                   browsers_.processes());
    }

    void cleanup() { window_.finishCleanUps(); }

    void realProfilesAreCountedAndCleanedWhereTheirBuildKeepsThem_data()
    {
        QTest::addColumn<QString>("where"); // the desktop entry in its folder|the profile
        QTest::addColumn<QString>("summary");
        const QString chromium = "History 5,Favicons 5,Visited Links 5,Last Session 0,Last Tabs 0,"
                                 "Sessions 2,Local Storage 1,Top Sites 2,";
        const QString firefox = "places.sqlite 10,favicons.sqlite 4,webappsstore.sqlite 0,"
                                "formhistory.sqlite 2,sessionstore.js 0,sessionstore.jsonlz4 0,"
                                "sessionstore-backups 1,cache2 1,14 files, 3 cookies";
        QTest::newRow("Chrome")
            << "home/.local/share/google-chrome.desktop|.config/google-chrome/Default/"
            << chromium + "Cache 1,14 files, 4 cookies";
        QTest::newRow("Opera, Snap")
            << "system/var/lib/snapd/desktop/opera_opera.desktop|snap/opera/common/.config/opera/"
            << chromium + "Cache 1,14 files, 4 cookies";
        QTest::newRow("Brave, Flatpak")
            << "system/var/lib/flatpak/exports/share/com.brave.Browser.desktop|.var/app/"
               "com.brave.Browser/config/BraveSoftware/Brave-Browser/Default/"
            << chromium + "Current Session 0,Current Tabs 0,Cache 1,16 files, 4 cookies";
        QTest::newRow("Firefox") << "home/.local/share/firefox-esr.desktop|.config/mozilla/firefox/"
                                 << firefox;
        QTest::newRow("Firefox, Snap")
            << "system/var/lib/snapd/desktop/firefox_firefox.desktop|snap/firefox/common/.mozilla/"
               "firefox/"
            << firefox;
        QTest::newRow("Firefox, Flatpak")
            << "home/.local/share/flatpak/exports/share/org.mozilla.firefox.desktop|.var/app/"
               "org.mozilla.firefox/config/mozilla/firefox/"
            << firefox;
    }

    // The scan only reads; the clean-up leaves no visited page and a sound, bookmarked database.
    void realProfilesAreCountedAndCleanedWhereTheirBuildKeepsThem()
    {
        QFETCH(QString, where);
        QFETCH(QString, summary);
        const QString profile = where.section('|', 1);
        const bool isFirefox = profile.contains("mozilla");
        const QFileInfo entryFile(home_->path("../" + where.section('|', 0, 0)));
        home_->desktopEntry(entryFile.fileName(), "Web Browser", entryFile.path());
        // Each build keeps its cache where it keeps its profile, with "cache" for "config".
        const QString cache =
            QString(profile).replace("config/", "cache/").replace(".mozilla/", ".cache/mozilla/");
        for (const QString& item : isFirefox ? kFirefoxProfile : kChromiumProfile) {
            const QString path = profile + (isFirefox ? kProfile : "") + item.section('=', 0, 0);
            item.contains('=') ? home_->fixture(path, item.section('=', 1))
                               : home_->file(path, kVisited);
        }
        home_->file(cache + (isFirefox ? kProfile + "cache2/entries/0A1B" : "Cache/Cache_Data/f_0"),
                    kVisited);
        if (isFirefox)
            home_->file(profile + "profiles.ini", kProfilesIni);
        const QMap<QString, QByteArray> before = filesBelow(home_->path(".."));

        const PrivInfoDic record = scan().first();
        QCOMPARE(filesBelow(home_->path("..")), before);
        QCOMPARE(::summary(record), summary);

        cleaner_->removeCookies(true, true, record);
        window_.finishCleanUps();
        const PrivInfoDic cleaned = scan().first();
        QCOMPARE(cleaned.kBrowserPrivacyItemsCount + cleaned.CookieStorage->CookieStorageCount,
                 quint64(0));
        // Not even in the free pages of the kept database.
        for (const auto& [name, contents] : filesBelow(home_->home()).asKeyValueRange())
            QVERIFY2(!contents.contains("visited"), qPrintable(name));
        // The database answers for what it keeps (counted: the rows that miss the condition).
        const auto rows = [&](const char* table, const char* condition) {
            return Utils::countRecordsInDBFileAtPath(
                home_->path(profile + kProfile + "places.sqlite"), table, condition);
        };
        QCOMPARE((QList<quint64>{rows("pragma_integrity_check", "integrity_check != 'ok'"),
                                 rows("moz_places", "url = 'https://kept.example/'"),
                                 rows("moz_bookmarks", "fk IS NOT (SELECT id FROM moz_places)")}),
                 (QList<quint64>{isFirefox, 0, isFirefox}));
    }

    // Firefox's profiles: those profiles.ini lists whose Path stays in its folder, or is absolute
    // and in the home folder, reached through no link. Entries are found by name and by id.
    void profilesStayInTheirPlaceAndInstalledBrowsersComeFirst()
    {
        // Found by name only; the localised name and the action's name play no part.
        const QString chrome = home_->file(".local/share/applications/chrome-work.desktop",
                                           "[Desktop Entry]\nName=Google Chrome\nName[de]=Chrome\n"
                                           "[Desktop Action window]\nName=Firefox\n");
        // The user's entry hides the system's entry of the same id, name and all.
        const QString vivaldi = home_->desktopEntry("vivaldi-stable.desktop", "Vivaldi Snapshot");
        home_->desktopEntry("vivaldi-stable.desktop", "Vivaldi", home_->systemShare());
        const QString ff = home_->desktopEntry("firefox.desktop", "Firefox", home_->systemShare());
        const QString firefox = home_->folder(".config/mozilla/firefox") + '/';
        for (const char* folder : {"Profiles/a", "Profiles/z", "Profiles/x", "../../../in",
                                   "../../../b", "../../../../out"})
            QDir().mkpath(firefox + folder);
        QFile::link(home_->path("b"), firefox + "Profiles/linked");
        home_->file(
            ".config/mozilla/firefox/profiles.ini",
            QStringLiteral(
                "[Profile0]\nIsRelative=1\nPath=Profiles/a\n[Profile1]\nIsRelative=1\n"
                "Path=../../../in\n[Profile2]\nIsRelative=0\nPath=%1/b\n[Profile3]\n"
                "IsRelative=0\nPath=%1/../out\n[Profile4]\nIsRelative=1\nPath=Profiles/"
                "linked\n[Profile5]\nIsRelative=1\nPath=Profiles/gone\n[Profile6]\n"
                "IsRelative=1\nPath=Profiles/z\n[Profile8]\nIsRelative=1\nPath=Profiles/x\n")
                .arg(home_->home())
                .toUtf8());
        home_->file("elsewhere/Default/Local Storage/leveldb");
        QFile::link(home_->path("elsewhere"), home_->path(".config/google-chrome"));
        // Chrome's Flatpak has a profile with nothing in it: its empty folders give no rows.
        home_->folder(".var/app/com.google.Chrome/config/google-chrome/Default/Sessions");
        const QList<PrivInfoDic> records = scan();

        QStringList found;
        for (const PrivInfoDic& record : records)
            found << record.kBrowserInstallPath.value_or(record.kBrowserName);
        QCOMPARE(found, (QStringList{chrome, ff, vivaldi, "Opera", "Brave Browser"}));
        QCOMPARE(summary(records[0]), "History 0,Favicons 0,Visited Links 0,Last Session 0,"
                                      "Last Tabs 0,Top Sites 0,10 files, 0 cookies");
        QCOMPARE(records[1].CookieStorage->kBrowserFilesToRemove->filter("-wal"),
                 (QStringList{firefox + "Profiles/a/cookies.sqlite-wal",
                              home_->path("b/cookies.sqlite-wal"),
                              firefox + "Profiles/z/cookies.sqlite-wal"}));
        home_->file(".config/mozilla/firefox/profiles.ini",
                    "[Profile0]\nIsRelative=1\nPath=../x\n");
        QCOMPARE(scan()[2].kBrowserNotInstalled, "Not Installed");
    }

    // Firefox keeps its places database and loses its history rows, except the bookmarked place
    // and its origin. A database the browser holds, or one that fails half-way, keeps every
    // row: the browser would read some tables emptied and others not as damage. What is left is
    // told, and the clean-up does not read as complete.
    void firefoxHistoryTablesGoTogetherOrNotAtAll()
    {
        // The last leaves a single bookmark, which is kept as well as two are.
        const QByteArray holders[] = {
            "", "PRAGMA locking_mode=EXCLUSIVE; UPDATE moz_origins SET host = host;",
            "CREATE TRIGGER damaged BEFORE DELETE ON moz_places "
            "BEGIN SELECT RAISE(ABORT, 'damaged'); END;",
            "DELETE FROM moz_bookmarks WHERE fk IS NULL;"};
        for (const QByteArray& holder : holders) {
            RecordingWindow window;
            PrivacyCleaner cleaner(window, window, window);
            const QString profile = ".mozilla/firefox/" + QString::number(qHash(holder));
            const QString places = home_->database(profile + "/places.sqlite",
                                                   {{"moz_favicons", 2}, {"moz_historyvisits", 3}});
            sqlite3* db = nullptr;
            sqlite3_open(QFile::encodeName(places).constData(), &db);
            sqlite3_exec(db,
                         "CREATE TABLE moz_origins (id INTEGER PRIMARY KEY, host TEXT);"
                         "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, origin_id INT);"
                         "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, fk INT);"
                         "INSERT INTO moz_origins VALUES (1, 'a.test'), (2, 'b.test');"
                         "INSERT INTO moz_places VALUES (1, 1), (2, 2), (3, 2);"
                         "INSERT INTO moz_bookmarks VALUES (1, 2), (2, NULL);" +
                             holder,
                         nullptr, nullptr, nullptr);
            const bool fails = !holder.isEmpty() && !holder.startsWith("DELETE");
            const quint64 bookmarks = holder.startsWith("DELETE") ? 1 : 2;
            // A listed file already gone is skipped without counting: the bar stops short of 100.
            const QString formHistory = home_->file(profile + "/formhistory.sqlite");
            PrivInfoDic record =
                browserRecord("Firefox", "org.mozilla.firefox",
                              {formHistory, home_->path(profile + "/sessionstore.js")});
            record.kBrowserPrivData.prepend(
                PrivFileRows::fileRow(places, 0, {QStringLiteral("empty")}));
            record.kBrowserPrivacyInFilesCount = 3;

            cleaner.removeCookies(false, true, record);
            window.finishCleanUps();
            sqlite3_close(db);

            QCOMPARE(window.steps.filter("progress "),
                     QStringList({progress(kHistory, "33 %", 100.0 / 3)}));
            QCOMPARE(window.steps.last(),
                     fails ? "sheet Firefox could not be cleaned up completely" : kComplete);
            QCOMPARE(window.shown.size(), fails ? 1 : 0);
            QList<quint64> rows;
            for (const QStringList& tables : {QStringList{"moz_favicons", "moz_historyvisits"},
                                              {"moz_origins", "moz_places"},
                                              {"moz_bookmarks"}})
                rows << PrivFileRows::tablesCount(places, tables);
            QCOMPARE(rows, (fails ? QList<quint64>{5, 5, 2} : QList<quint64>{0, 2, bookmarks}));
            QVERIFY(!QFileInfo::exists(formHistory));
        }
    }

    // A link planted at any level the scan lists (the store folder, a store file, a child of a
    // store folder, deep in a child folder, a folder on the way) goes as the link or stays, and
    // never leads the clean-up into what it points at. Nothing outside the browsers' folders is
    // removed either: not the working folder's item named like an entry that names no file, not
    // the home folder, not a profile.
    void linksAndStrayPathsLeadNowhere()
    {
        const QString bystander = home_->file("Documents/letter.txt");
        const QString documents = home_->path("Documents");
        const QString workItem = home_->file("work/empty");
        const QString previousWorkingFolder = QDir::currentPath();
        QDir::setCurrent(home_->path("work"));
        const QString profile = home_->folder(".config/chrome/Default");
        const QString storage = home_->folder(".config/chrome/Default/Local Storage");
        const QString cache = home_->path(".config/chrome/Default/Cache");
        const QString history = profile + "/History";
        const QString linkedProfile = home_->path(".config/chrome/Linked");
        QFile::link(documents, cache);
        QFile::link(bystander, history);
        QFile::link(documents, storage + "/leveldb");
        QFile::link(home_->path("nowhere"), storage + "/gone");
        QFile::link(documents, linkedProfile);
        QFile::link(documents,
                    home_->file(".config/chrome/Default/Local Storage/db/000003.log") + "-inner");

        PrivInfoDic record = browserRecord("Google Chrome", "com.google.Chrome",
                                           {history, QStringLiteral("empty"), home_->home(),
                                            profile, linkedProfile + "/letter.txt"},
                                           {QStringLiteral("empty"), home_->home(), profile});
        record.kBrowserPrivData << *PrivFileRows::folderRow(cache)
                                << *PrivFileRows::folderRow(storage);
        QCOMPARE(record.kBrowserPrivData.last().kBrowserFilesToRemove.size(), 3);
        cleaner_->removeCookies(true, true, record);
        window_.finishCleanUps();
        QDir::setCurrent(previousWorkingFolder);

        QCOMPARE(QDir(documents).entryList(QDir::Files), QStringList{"letter.txt"});
        QVERIFY(QFileInfo::exists(workItem) && QFileInfo(profile).isDir());
        QCOMPARE(QDir(storage).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                 QStringList());
        QVERIFY(!QFileInfo(cache).isSymLink() && !QFileInfo(history).isSymLink());
        QCOMPARE(window_.shown.size(), 1);
        QVERIFY(window_.shown.first().informativeText.contains(linkedProfile));
    }

    // Cookies go first, one step per cookie, then each history file one step.
    void flagsChooseWhatGoesCookiesFirst()
    {
        const QStringList cookieSteps{progress(kCookies, "50 %", 50),
                                      progress(kCookies, "100 %", 100)};
        const QStringList historySteps{progress(kHistory, "33 %", 100.0 / 3),
                                       progress(kHistory, "67 %", 200.0 / 3),
                                       progress(kHistory, "100 %", 100)};
        const std::tuple<bool, bool, QStringList> runs[] = {
            {true, true, cookieSteps + historySteps},
            {true, false, cookieSteps},
            {false, true, historySteps}};
        for (const auto& [cookies, history, steps] : runs) {
            RecordingWindow window;
            PrivacyCleaner cleaner(window, window, window);
            const QString folder = QStringLiteral("flags%1%2/").arg(cookies).arg(history);
            const QStringList files{file(folder + "History"), file(folder + "Favicons"),
                                    file(folder + "Top")};
            PrivInfoDic record = browserRecord("Vivaldi", "com.vivaldi.Vivaldi", files);
            auto store = std::make_shared<MemoryCookieStorage>(2);
            record.CookieStorage = CookiesDic{store, 2, std::nullopt};

            cleaner.removeCookies(cookies, history, record);
            window.finishCleanUps();

            QCOMPARE(window.steps,
                     QStringList("cleaning") + steps + QStringList({"idle", kComplete}));
            QCOMPARE(store->cookies().isEmpty(), cookies);
            QCOMPARE(QFileInfo::exists(files.last()), !history);

            // The scan found no cookies, yet the store has some now: 100 %, not a division by
            // zero.
            window.steps.clear();
            record.CookieStorage = CookiesDic{std::make_shared<MemoryCookieStorage>(1), 0, {}};
            cleaner.removeCookiesOnlyFrom(record);
            QCoreApplication::processEvents();
            QCOMPARE(window.steps, QStringList{progress(kCookies, "100 %", 100)});
        }
    }

    // The cleaner's owner going (the application quitting) lets running clean-ups finish
    // first; the steps still queued for the window are dropped.
    void theCleanersEndWaitsForItsCleanUps()
    {
        auto store = std::make_shared<MemoryCookieStorage>(4, 50);
        const QString history = file("gone/History");
        {
            PrivacyCleaner cleaner(window_, window_, window_);
            PrivInfoDic record = browserRecord("Vivaldi", "com.vivaldi.Vivaldi", {history});
            record.CookieStorage = CookiesDic{store, 4, std::nullopt};
            cleaner.removeCookies(true, true, record);
        }
        QVERIFY(store->cookies().isEmpty());
        QVERIFY(!QFileInfo::exists(history));
        QCoreApplication::processEvents();
        QVERIFY(window_.steps.isEmpty());
    }

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
        const QString places = home_->database(".mozilla/held/places.sqlite",
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
        QCOMPARE(PrivFileRows::tablesCount(places, {"moz_places", "moz_historyvisits"}), 0u);
    }

    // Clean-all asks once for every running browser, in row order, and cleans every row but
    // those of a browser that did not end; not-installed rows still get their notice.
    void cleanAllQuitsRunningBrowsersInRowOrder_data()
    {
        QTest::addColumn<Ids>("running");
        QTest::addColumn<Ids>("staying");
        const Ids both{"org.mozilla.firefox", "com.google.Chrome"};
        QTest::newRow("nothing running") << Ids() << Ids();
        QTest::newRow("both end") << both << Ids();
        QTest::newRow("Firefox stays") << both << Ids{"org.mozilla.firefox"};
    }

    void cleanAllQuitsRunningBrowsersInRowOrder()
    {
        QFETCH(Ids, running);
        QFETCH(Ids, staying);
        browsers_.running = running;
        browsers_.staying = staying;
        PrivInfoDic opera;
        opera.kBrowserName = QStringLiteral("Opera");
        opera.kBrowserNotInstalled = QStringLiteral("Not Installed");
        const QList<PrivInfoDic> rows = {
            chrome(),
            browserRecord("Firefox", "org.mozilla.firefox",
                          {home_->file(".mozilla/ff/formhistory.sqlite")}),
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

    // Counting never creates the file it is asked about, and reads a title that would widen the
    // statement as no table.
    void countsRowsOrZero()
    {
        home_->file("notes.txt", QByteArray(4096, 'n'));
        const std::tuple<const char*, const char*, quint64> cases[] = {
            {"places.sqlite", "moz_places", 3},
            {"missing.sqlite", "moz_places", 0},
            {"notes.txt", "moz_places", 0},
            {"places.sqlite", "moz_cookies", 0},
            {"places.sqlite", "moz_places WHERE id > 1", 0}};
        for (const auto& [file, table, count] : cases)
            QCOMPARE(Utils::countRecordsInDBFileAtPath(home_->path(file), table), count);
        QVERIFY(!QFileInfo::exists(home_->path("missing.sqlite")));
    }

    // A table the database lacks (current Firefox keeps no moz_favicons) is passed over; a
    // database reached through a link, or a title that would widen the statement, is refused
    // whole. The tables not named keep their rows.
    void emptyingTablesAllOrNothing()
    {
        const QString linked = home_->path("linked.sqlite");
        QFile::link(places_, linked);

        QVERIFY(Utils::emptyTablesInDBFilePath(linked, {{"moz_places", {}}}));
        QVERIFY(Utils::emptyTablesInDBFilePath(
            places_, {{"moz_places", {}}, {"moz_origins WHERE id > 1", {}}}));
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places_, "moz_places"), quint64(3));
        QTest::ignoreMessage(QtInfoMsg, "could not retreave items in table");
        QTest::ignoreMessage(QtInfoMsg, "Table tableTitle moz_places");
        QVERIFY(
            !Utils::emptyTablesInDBFilePath(places_, {{"moz_favicons", {}}, {"moz_places", {}}}));
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places_, "moz_places"), quint64(0));
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places_, "moz_historyvisits"), quint64(4));
    }
};

QTEST_GUILESS_MAIN(TestBrowserPrivacy)
#include "test_browserprivacy.moc"
