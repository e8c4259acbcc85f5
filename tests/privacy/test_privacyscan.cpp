#include "FakeBrowserHome.h"
#include "PrivacyFakes.h"
#include "privacy/FirefoxProfiles.h"
#include "privacy/PrivacyCleaner.h"
#include "privacy/UtilsPrivacy.h"

#include <QDirIterator>
#include <QTest>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

const QByteArray kVisited = "https://visited.example/";
const QString kProfile = "Profiles/x.default-release";
const QByteArray kProfilesIni = "[Install4F96D1932A9F858E]\nDefault=Profiles/x.default-release\n"
                                "[Profile0]\nName=default-release\nIsRelative=1\n"
                                "Path=Profiles/x.default-release\n[General]\nVersion=2\n";

QList<PrivInfoDic> scan()
{
    QList<PrivInfoDic> records;
    Utils::getPrivacyScanInfoArrBlock(
        [&](const QList<PrivInfoDic>& scanned) { records << scanned; });
    return records;
}

QStringList rowsOf(const PrivInfoDic& record, bool withCounts = true)
{
    QStringList rows;
    for (const PrivFileDic& row : record.kBrowserPrivData)
        rows << (withCounts ? row.kBrowserFileName + ' ' + QString::number(row.kBrowserFilesCount)
                            : row.kBrowserFilePath);
    return rows;
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

// The first column of the first row.
QByteArray query(const QString& database, const char* statement)
{
    QByteArray answer;
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(database).constData(), &db);
    sqlite3_exec(
        db, statement,
        [](void* out, int, char** values, char**) {
            *static_cast<QByteArray*>(out) = values[0];
            return 0;
        },
        &answer, nullptr);
    sqlite3_close(db);
    return answer;
}

// A profile of a current release, whose stores and session files name a visited page.
void populateChromium(const FakeBrowserHome& home, const QString& profile, const QString& cache)
{
    for (const char* store : {"History", "Favicons", "Top Sites", "Network/Cookies"})
        home.fixture(profile + store,
                     "chromium-" + QFileInfo(store).fileName().toLower().replace(' ', '-'));
    for (const char* file : {"Sessions/Session_13410000000000000", "Sessions/Tabs_1341000000000000",
                             "Local Storage/leveldb/000003.log", "Visited Links"})
        home.file(profile + file, kVisited);
    if (!cache.isEmpty())
        home.file(cache + "/Cache_Data/f_000001", kVisited);
}

// Beside the one profile profiles.ini lists Firefox keeps files and folders that are no profiles.
void populateFirefox(const FakeBrowserHome& home, const QString& folder, const QString& cache)
{
    home.file(folder + "profiles.ini", kProfilesIni);
    for (const char* other :
         {"installs.ini", "Crash Reports/e", "Pending Pings/p", "Profile Groups/g"})
        home.file(folder + other);
    for (const char* store : {"places", "favicons", "cookies", "formhistory"})
        home.fixture(folder + kProfile + '/' + store + ".sqlite",
                     QStringLiteral("firefox-") + store);
    for (const char* file : {"/sessionstore.jsonlz4", "/sessionstore-backups/recovery.jsonlz4"})
        home.file(folder + kProfile + file, kVisited);
    home.file(cache + kProfile + "/cache2/entries/0A1B2C", kVisited);
}

} // namespace

class TestPrivacyScan : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void realProfilesAreCountedAndCleanedWhereTheirBuildKeepsThem_data()
    {
        QTest::addColumn<QString>("where"); // desktop entry|its folder|profile|cache
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<quint64>("files");
        const auto row = [](const char* tag, const QString& where, const QStringList& rows,
                            quint64 files) { QTest::newRow(tag) << where << rows << files; };
        const QStringList chromium{"History 5",   "Favicons 5", "Visited Links 5", "Last Session 0",
                                   "Last Tabs 0", "Sessions 2", "Local Storage 1", "Top Sites 2"};
        const QStringList firefox{"places.sqlite 10",       "favicons.sqlite 4",
                                  "webappsstore.sqlite 0",  "formhistory.sqlite 2",
                                  "sessionstore.js 0",      "sessionstore.jsonlz4 0",
                                  "sessionstore-backups 1", "cache2 1"};
        const QString snapd = "|system/var/lib/snapd/desktop|snap/";
        const QString brave = ".var/app/com.brave.Browser/%1/BraveSoftware/Brave-Browser/Default/";
        const QString flatpak = ".var/app/org.mozilla.firefox/%1/mozilla/firefox/";
        // Chromium: History and its companions, Favicons and Top Sites with their journals, one
        // file for each other row and for each child of a folder. Firefox: the kept places
        // entry, each database with two companions, the two session files and two children.
        row("Chrome",
            "google-chrome.desktop||.config/google-chrome/Default/|.cache/google-chrome/Default/"
            "Cache",
            chromium + QStringList{"Cache 1"}, 14);
        row("Opera, Snap",
            "opera_opera.desktop" + snapd +
                "opera/common/.config/opera/|snap/opera/common/.cache/opera/Cache",
            chromium + QStringList{"Cache 1"}, 14);
        row("Brave, Flatpak",
            "com.brave.Browser.desktop|system/var/lib/flatpak/exports/share|" +
                brave.arg("config") + '|' + brave.arg("cache") + "Cache",
            chromium + QStringList{"Current Session 0", "Current Tabs 0", "Cache 1"}, 16);
        row("Firefox", "firefox.desktop||.config/mozilla/firefox/|.cache/mozilla/firefox/", firefox,
            14);
        row("Firefox, older", "firefox-esr.desktop||.mozilla/firefox/|.cache/mozilla/firefox/",
            firefox, 14);
        row("Firefox, Snap",
            "firefox_firefox.desktop" + snapd +
                "firefox/common/.mozilla/firefox/|snap/firefox/common/.cache/mozilla/firefox/",
            firefox, 14);
        row("Firefox, Flatpak",
            "org.mozilla.firefox.desktop|home/.local/share/flatpak/exports/share|" +
                flatpak.arg("config") + '|' + flatpak.arg("cache"),
            firefox, 14);
    }

    // The scan only reads, and counts what the clean-up removes: after it nothing names a visited
    // page, and the kept places database is sound and keeps its bookmark.
    void realProfilesAreCountedAndCleanedWhereTheirBuildKeepsThem()
    {
        QFETCH(QString, where);
        QFETCH(QStringList, rows);
        QFETCH(quint64, files);
        const QStringList place = where.split('|');
        const bool isFirefox = place[0].contains("firefox");
        FakeBrowserHome home;
        home.desktopEntry(place[0], "Web Browser",
                          place[1].isEmpty() ? "" : home.root() + '/' + place[1]);
        (isFirefox ? populateFirefox : populateChromium)(home, place[2], place[3]);
        const QMap<QString, QByteArray> before = filesBelow(home.root());

        const PrivInfoDic record = scan().first();
        QCOMPARE(filesBelow(home.root()), before);
        QCOMPARE(rowsOf(record), rows);
        QCOMPARE(record.kBrowserPrivacyInFilesCount, files);
        QCOMPARE(record.CookieStorage->CookieStorageCount, quint64(isFirefox ? 3 : 4));

        RecordingWindow window;
        PrivacyCleaner cleaner(window, window);
        cleaner.removeCookies(true, true, record);
        window.finishCleanUps();
        const PrivInfoDic cleaned = scan().first();
        QCOMPARE(cleaned.kBrowserPrivacyItemsCount + cleaned.CookieStorage->CookieStorageCount,
                 quint64(0));
        const QMap<QString, QByteArray> after = filesBelow(home.home());
        for (auto file = after.begin(); file != after.end(); ++file) {
            if (file.value().startsWith("SQLite format 3"))
                QCOMPARE(query(file.key(), "PRAGMA integrity_check"), "ok");
            else
                QVERIFY2(!file.value().contains("visited.example"), qPrintable(file.key()));
        }
        if (isFirefox)
            QCOMPARE(query(home.path(place[2] + kProfile + "/places.sqlite"),
                           "SELECT group_concat(url || '=' || ifnull(moz_bookmarks.title, '')) "
                           "FROM moz_places LEFT JOIN moz_bookmarks ON fk = moz_places.id"),
                     "https://kept.example/=Kept");
    }

    // Firefox's profiles are those of profiles.ini whose Path leads no further than its folder, or
    // is absolute and inside the home folder; no link stands in for a browser's folder or profile.
    // Browsers are found by desktop entries, installed ones first.
    void profilesStayInTheirPlaceAndInstalledBrowsersComeFirst()
    {
        FakeBrowserHome home;
        // Found by name only; the localised name and the action's name play no part.
        const QString chrome = home.file(".local/share/applications/chrome-work.desktop",
                                         "[Desktop Entry]\nName=Google Chrome\nName[de]=Chrome\n"
                                         "[Desktop Action window]\nName=Firefox\n");
        // The user's entry hides the system's entry of the same id, name and all.
        const QString vivaldi = home.desktopEntry("vivaldi-stable.desktop", "Vivaldi Snapshot");
        home.desktopEntry("vivaldi-stable.desktop", "Vivaldi", home.systemShare());
        const QString firefoxEntry =
            home.desktopEntry("firefox.desktop", "Firefox", home.systemShare());
        const QString firefox = home.folder(".config/mozilla/firefox") + '/';
        for (const char* folder :
             {"Profiles/a", "Profiles/z", "../../../in", "../../../b", "../../../../out"})
            QDir().mkpath(firefox + folder);
        QFile::link(home.path("b"), firefox + "Profiles/linked");
        home.file(
            ".config/mozilla/firefox/profiles.ini",
            QStringLiteral("[Profile0]\nPath=Profiles/a\nIsRelative=1\n[Profile1]\nIsRelative=1\n"
                           "Path=../../../in\n[Profile2]\nPath=%1/b\nIsRelative=0\n[Profile3]\n"
                           "Path=%1/../out\nIsRelative=0\n[Profile4]\nPath=Profiles/linked\n"
                           "IsRelative=1\n[Profile5]\nPath=Profiles/gone\nIsRelative=1\n"
                           "[Profile10]\nPath=Profiles/z\nIsRelative=1\n")
                .arg(home.home())
                .toUtf8());
        home.file("elsewhere/mozilla/firefox/" + kProfile + "/places.sqlite");
        home.file("elsewhere/mozilla/firefox/profiles.ini", kProfilesIni);
        home.file("elsewhere/google-chrome/Default/Local Storage/leveldb");
        QFile::link(home.path("elsewhere/mozilla"), home.path(".mozilla"));
        QFile::link(home.path("elsewhere/google-chrome"), home.path(".config/google-chrome"));
        // Chrome's Flatpak has an empty profile; its empty folders give no rows.
        home.folder(".var/app/com.google.Chrome/config/google-chrome/Default/Sessions");
        // The entry that stands for the kept places database names no file of the working folder.
        home.file("work/" + FirefoxProfiles::kKeptPlacesEntry, QByteArray(50000, 'w'));
        const QString workingFolder = QDir::currentPath();
        QDir::setCurrent(home.path("work"));
        const QList<PrivInfoDic> records = scan();
        QDir::setCurrent(workingFolder);

        QStringList found;
        for (const PrivInfoDic& record : records)
            found << record.kBrowserInstallPath.value_or(record.kBrowserName);
        QCOMPARE(found, (QStringList{chrome, firefoxEntry, vivaldi, "Opera", "Brave Browser"}));
        QCOMPARE(records[0].kBrowserBndlID, "com.google.Chrome");
        QVERIFY(!records[4].kBrowserBndlID);
        QVERIFY(!records[4].CookieStorage);
        QCOMPARE(rowsOf(records[0]).join(','),
                 "History 0,Favicons 0,Visited Links 0,Last Session 0,"
                 "Last Tabs 0,Top Sites 0");
        QCOMPARE(records[0].kBrowserPrivacyInFilesCount, quint64(10));
        QCOMPARE(rowsOf(records[1], false).filter("places.sqlite"),
                 (QStringList{firefox + "Profiles/a/places.sqlite", home.path("b/places.sqlite"),
                              firefox + "Profiles/z/places.sqlite"}));
        QCOMPARE(records[1].kBrowserPrivacyFilesTotalSize, "Zero KB");
        for (const QString& profile :
             {firefox + "Profiles/a", firefox + "Profiles/z", home.path("b")})
            QDir(profile).removeRecursively();
        QCOMPARE(scan()[2].kBrowserNotInstalled, "Not Installed");
    }
};

QTEST_GUILESS_MAIN(TestPrivacyScan)
#include "test_privacyscan.moc"
