// One browser's clean-up: what it removes, keeps, empties and reports left, and its steps.
#include "FakeBrowserHome.h"
#include "PrivacyFakes.h"
#include "privacy/PrivFileRows.h"
#include "privacy/PrivacyCleaner.h"
#include "privacy/UtilsDatabase.h"

#include <QTest>
#include <QThread>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

const QString kHistory = QStringLiteral("Cleaning History Data...");
const QString kCookies = QStringLiteral("Cleaning Cookie Data...");
const QString kComplete = QStringLiteral("hud 3 Clean up Complete!");

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

quint64 rows(const QString& database, const QStringList& tables)
{
    return PrivFileRows::tablesCount(database, tables);
}

} // namespace

class TestPrivacyCleaner : public QObject {
    Q_OBJECT

    FakeBrowserHome home_;

    QString file(const QString& underConfig) const { return home_.file(".config/" + underConfig); }

private Q_SLOTS:
    // Firefox keeps its places database and loses its history rows, except the bookmarked place
    // and its origin. A database the browser holds, or one that fails half-way, keeps every
    // row: the browser would read some tables emptied and others not as damage. What is left is
    // told, and the clean-up does not read as complete.
    void firefoxHistoryTablesGoTogetherOrNotAtAll()
    {
        const QByteArray holders[] = {
            "", "PRAGMA locking_mode=EXCLUSIVE; UPDATE moz_origins SET host = host;",
            "CREATE TRIGGER damaged BEFORE DELETE ON moz_places "
            "BEGIN SELECT RAISE(ABORT, 'damaged'); END;"};
        for (const QByteArray& holder : holders) {
            RecordingWindow window;
            PrivacyCleaner cleaner(window, window, window);
            const QString profile = ".mozilla/firefox/" + QString::number(qHash(holder));
            const QString places = home_.database(profile + "/places.sqlite",
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
            const bool fails = !holder.isEmpty();
            // A listed file already gone is skipped without counting: the bar stops short of 100.
            const QString formHistory = home_.file(profile + "/formhistory.sqlite");
            PrivInfoDic record =
                browserRecord("Firefox", "org.mozilla.firefox",
                              {formHistory, home_.path(profile + "/sessionstore.js")});
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
            QCOMPARE(rows(places, {"moz_favicons", "moz_historyvisits"}), fails ? 5u : 0u);
            QCOMPARE(rows(places, {"moz_origins", "moz_places"}), fails ? 5u : 2u);
            QCOMPARE(rows(places, {"moz_bookmarks"}), 2u);
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
        RecordingWindow window;
        PrivacyCleaner cleaner(window, window, window);
        const QString bystander = home_.file("Documents/letter.txt");
        const QString documents = home_.path("Documents");
        const QString workItem = home_.file("work/empty");
        const QString previousWorkingFolder = QDir::currentPath();
        QDir::setCurrent(home_.path("work"));
        const QString profile = home_.folder(".config/chrome/Default");
        const QString storage = home_.folder(".config/chrome/Default/Local Storage");
        const QString cache = home_.path(".config/chrome/Default/Cache");
        const QString history = profile + "/History";
        const QString linkedProfile = home_.path(".config/chrome/Linked");
        QFile::link(documents, cache);
        QFile::link(bystander, history);
        QFile::link(documents, storage + "/leveldb");
        QFile::link(home_.path("nowhere"), storage + "/gone");
        QFile::link(documents, linkedProfile);
        QFile::link(documents,
                    home_.file(".config/chrome/Default/Local Storage/db/000003.log") + "-inner");

        PrivInfoDic record = browserRecord("Google Chrome", "com.google.Chrome",
                                           {history, QStringLiteral("empty"), home_.home(), profile,
                                            linkedProfile + "/letter.txt"},
                                           {QStringLiteral("empty"), home_.home(), profile});
        record.kBrowserPrivData << *PrivFileRows::folderRow(cache)
                                << *PrivFileRows::folderRow(storage);
        QCOMPARE(record.kBrowserPrivData.last().kBrowserFilesToRemove.size(), 3);
        cleaner.removeCookies(true, true, record);
        window.finishCleanUps();
        QDir::setCurrent(previousWorkingFolder);

        QCOMPARE(QDir(documents).entryList(QDir::Files), QStringList{"letter.txt"});
        QVERIFY(QFileInfo::exists(workItem) && QFileInfo(profile).isDir());
        QCOMPARE(QDir(storage).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                 QStringList());
        QVERIFY(!QFileInfo(cache).isSymLink() && !QFileInfo(history).isSymLink());
        QCOMPARE(window.shown.size(), 1);
        QVERIFY(window.shown.first().informativeText.contains(linkedProfile));
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
        RecordingWindow window;
        auto store = std::make_shared<MemoryCookieStorage>(4, 50);
        const QString history = file("gone/History");
        {
            PrivacyCleaner cleaner(window, window, window);
            PrivInfoDic record = browserRecord("Vivaldi", "com.vivaldi.Vivaldi", {history});
            record.CookieStorage = CookiesDic{store, 4, std::nullopt};
            cleaner.removeCookies(true, true, record);
        }
        QVERIFY(store->cookies().isEmpty());
        QVERIFY(!QFileInfo::exists(history));
        QCoreApplication::processEvents();
        QVERIFY(window.steps.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPrivacyCleaner)
#include "test_privacycleaner.moc"
