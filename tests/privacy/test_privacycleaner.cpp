// The clean-up of one browser's records: what it removes, keeps and empties, and the steps it
// paints on the window, in order.
#include "FakeBrowserHome.h"
#include "PrivacyFakes.h"
#include "privacy/PrivacyCleaner.h"
#include "privacy/UtilsDatabase.h"

#include <QTest>
#include <mutex>
#include <sqlite3.h>
#include <thread>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

const QString kHistory = QStringLiteral("Cleaning History Data...");
const QString kCookies = QStringLiteral("Cleaning Cookie Data...");
const QString kComplete = QStringLiteral("hud 3 Clean up Complete!");

// A cookie store kept in memory.
class MemoryCookieStorage : public HTTPCookieStorage {
public:
    explicit MemoryCookieStorage(int count, std::chrono::milliseconds deleteTime = {})
        : deleteTime_(deleteTime)
    {
        for (int i = 0; i < count; ++i)
            cookies_ << HTTPCookie{QStringLiteral("example.test"), QString::number(i), "/"};
    }
    QList<HTTPCookie> cookies() const override
    {
        std::lock_guard lock(mutex_);
        return cookies_;
    }
    void deleteCookie(const HTTPCookie& cookie) override
    {
        std::this_thread::sleep_for(deleteTime_);
        std::lock_guard lock(mutex_);
        cookies_.removeOne(cookie);
    }

private:
    const std::chrono::milliseconds deleteTime_;
    mutable std::mutex mutex_;
    QList<HTTPCookie> cookies_;
};

} // namespace

class TestPrivacyCleaner : public QObject {
    Q_OBJECT

    FakeBrowserHome home_;

    QString file(const QString& underHome) const { return home_.file(underHome); }

private Q_SLOTS:
    void historyFilesGoOneStepEach()
    {
        RecordingWindow window;
        PrivacyCleaner cleaner(window, window);
        const QStringList files = {file("h/History"), file("h/Favicons"), file("h/Top Sites")};
        cleaner.removeCookies(false, true, browserRecord("Vivaldi", "com.vivaldi.Vivaldi", files));
        window.finishCleanUps();

        QCOMPARE(window.steps,
                 QStringList({"cleaning",
                              QStringLiteral("progress %1|33 %|%2").arg(kHistory).arg(100.0 / 3),
                              QStringLiteral("progress %1|67 %|%2").arg(kHistory).arg(200.0 / 3),
                              QStringLiteral("progress %1|100 %|100").arg(kHistory), "idle",
                              kComplete}));
        for (const QString& file : files)
            QVERIFY(!QFileInfo::exists(file));
    }

    // A listed file already gone is skipped without counting, so the bar stops short of 100.
    // Firefox's places database stays, its history tables emptied except the bookmarked place
    // and its origin, without which the bookmark would lose its address.
    void firefoxKeepsItsPlacesDatabase()
    {
        RecordingWindow window;
        PrivacyCleaner cleaner(window, window);
        const QString places = home_.database("ff/profile/places.sqlite",
                                              {{"moz_favicons", 2}, {"moz_historyvisits", 3}});
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(places).constData(), &db);
        sqlite3_exec(db,
                     "CREATE TABLE moz_origins (id INTEGER PRIMARY KEY, host TEXT);"
                     "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT, origin_id INT);"
                     "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, fk INT, title TEXT);"
                     "INSERT INTO moz_origins VALUES (1, 'a.test'), (2, 'b.test');"
                     "INSERT INTO moz_places VALUES (1, 'https://a.test/', 1),"
                     " (2, 'https://b.test/', 2), (3, 'https://b.test/x', 2);"
                     "INSERT INTO moz_bookmarks VALUES (1, 2, 'kept'), (2, NULL, 'folder');",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
        PrivInfoDic record = browserRecord(
            "Firefox", "org.mozilla.firefox",
            {file("ff/profile/formhistory.sqlite"), home_.path("ff/profile/sessionstore.js")});
        PrivFileDic placesRow;
        placesRow.kBrowserFileName = QStringLiteral("places.sqlite");
        placesRow.kBrowserFilePath = places;
        placesRow.kBrowserFilesToRemove = {QStringLiteral("empty")};
        record.kBrowserPrivData.prepend(placesRow);
        record.kBrowserPrivacyInFilesCount = 3;

        cleaner.removeCookies(false, true, record);
        window.finishCleanUps();

        QCOMPARE(window.progress(),
                 QStringList({QStringLiteral("progress %1|33 %|%2").arg(kHistory).arg(100.0 / 3)}));
        QVERIFY(QFileInfo::exists(places));
        for (const char* table : {"moz_favicons", "moz_historyvisits"})
            QCOMPARE(Utils::countRecordsInDBFileAtPath(places, table), 0u);
        for (const char* table : {"moz_origins", "moz_places"})
            QCOMPARE(Utils::countRecordsInDBFileAtPath(places, table), 1u);
        QCOMPARE(Utils::countRecordsInDBFileAtPath(places, "moz_bookmarks"), 2u);
        QVERIFY(!QFileInfo::exists(home_.path("ff/profile/formhistory.sqlite")));
    }

    // Lists gone wrong remove nothing outside the browser's stores: not the working folder's
    // item of the same name as an entry that names no file, not the home folder, not a profile.
    // A link is removed as a link, dangling or not, and what it points at stays.
    void removesOnlyTheListedItemsThemselves()
    {
        RecordingWindow window;
        PrivacyCleaner cleaner(window, window);
        const QString sameNameInWorkingFolder = file("work/empty");
        const QString previousWorkingFolder = QDir::currentPath();
        QDir::setCurrent(home_.path("work"));
        const QString outside = file("outside/kept");
        const QString profile = home_.folder("links/Default");
        const QString link = home_.path("links/Default/Local Storage/leveldb");
        const QString dangling = home_.path("links/Default/Local Storage/gone");
        QDir().mkpath(QFileInfo(link).path());
        QFile::link(home_.path("outside"), link);
        QFile::link(home_.path("nowhere"), dangling);
        const QStringList listed = {file("links/Default/History"),
                                    QStringLiteral("empty"),
                                    home_.home(),
                                    profile,
                                    link,
                                    dangling};
        PrivInfoDic record = browserRecord("Vivaldi", "com.vivaldi.Vivaldi", listed,
                                           {QStringLiteral("empty"), home_.home(), profile});

        cleaner.removeCookies(true, true, record);
        window.finishCleanUps();
        QDir::setCurrent(previousWorkingFolder);

        QVERIFY(QFileInfo::exists(sameNameInWorkingFolder));
        QVERIFY(QFileInfo::exists(outside));
        QVERIFY(QFileInfo(profile).isDir());
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(!QFileInfo(dangling).isSymLink());
        QVERIFY(!QFileInfo::exists(listed.first()));
        QCOMPARE(window.progress().size(), 3);
    }

    void flagsChooseWhatGoesCookiesFirst_data()
    {
        QTest::addColumn<bool>("cookies");
        QTest::addColumn<bool>("history");
        QTest::addColumn<QStringList>("progressNames");
        QTest::newRow("both") << true << true << QStringList{kCookies, kCookies, kHistory};
        QTest::newRow("cookies") << true << false << QStringList{kCookies, kCookies};
        QTest::newRow("history") << false << true << QStringList{kHistory};
        QTest::newRow("neither") << false << false << QStringList{};
    }

    void flagsChooseWhatGoesCookiesFirst()
    {
        QFETCH(bool, cookies);
        QFETCH(bool, history);
        QFETCH(QStringList, progressNames);
        RecordingWindow window;
        PrivacyCleaner cleaner(window, window);
        const QString historyFile = file("s/History.db");
        PrivInfoDic record = browserRecord("Safari", "com.apple.Safari", {historyFile});
        auto store = std::make_shared<MemoryCookieStorage>(2);
        record.CookieStorage = CookiesDic{store, 2, std::nullopt};

        cleaner.removeCookies(cookies, history, record);
        window.finishCleanUps();

        QStringList names;
        for (const QString& step : window.progress())
            names << step.mid(QStringLiteral("progress ").size()).section('|', 0, 0);
        QCOMPARE(names, progressNames);
        QCOMPARE(store->cookies().isEmpty(), cookies);
        QCOMPARE(QFileInfo::exists(historyFile), !history);
        QCOMPARE(window.steps.first(), QStringLiteral("cleaning"));
        QCOMPARE(window.steps.last(), kComplete);
    }

    // The scan found no cookies, yet the store has some now: the steps read 100 %, not a
    // division by zero.
    void cookiesFoundAfterAnEmptyScanReadFull()
    {
        RecordingWindow window;
        PrivacyCleaner cleaner(window, window);
        PrivInfoDic record = browserRecord("Safari", "com.apple.Safari", {});
        record.CookieStorage =
            CookiesDic{std::make_shared<MemoryCookieStorage>(2), 0, std::nullopt};
        cleaner.removeCookiesOnlyFrom(record);
        QCoreApplication::processEvents();
        QCOMPARE(window.steps,
                 QStringList(2, QStringLiteral("progress %1|100 %|100").arg(kCookies)));
    }

    // The cleaner's owner going (the application quitting) lets running clean-ups finish
    // first; the steps still queued for the window are dropped.
    void theCleanersEndWaitsForItsCleanUps()
    {
        RecordingWindow window;
        auto store = std::make_shared<MemoryCookieStorage>(4, std::chrono::milliseconds(50));
        const QString history = file("gone/History");
        {
            PrivacyCleaner cleaner(window, window);
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
