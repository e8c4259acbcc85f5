#include "FakeBrowserHome.h"
#include "PrivacyFakes.h"
#include "privacy/PrivacyCleaner.h"
#include "privacy/UtilsDatabase.h"
#include "privacy/UtilsPrivacy.h"

#include <QDirIterator>
#include <QTest>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

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

class TestPrivacyScan : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
        FakeBrowserHome home;
        const QFileInfo entryFile(home.path("../" + where.section('|', 0, 0)));
        home.desktopEntry(entryFile.fileName(), "Web Browser", entryFile.path());
        // Each build keeps its cache where it keeps its profile, with "cache" for "config".
        const QString cache =
            QString(profile).replace("config/", "cache/").replace(".mozilla/", ".cache/mozilla/");
        for (const QString& item : isFirefox ? kFirefoxProfile : kChromiumProfile) {
            const QString path = profile + (isFirefox ? kProfile : "") + item.section('=', 0, 0);
            item.contains('=') ? home.fixture(path, item.section('=', 1))
                               : home.file(path, kVisited);
        }
        home.file(cache + (isFirefox ? kProfile + "cache2/entries/0A1B" : "Cache/Cache_Data/f_0"),
                  kVisited);
        if (isFirefox)
            home.file(profile + "profiles.ini", kProfilesIni);
        const QMap<QString, QByteArray> before = filesBelow(home.path(".."));

        const PrivInfoDic record = scan().first();
        QCOMPARE(filesBelow(home.path("..")), before);
        QCOMPARE(::summary(record), summary);

        RecordingWindow window;
        PrivacyCleaner cleaner(window, window, window);
        cleaner.removeCookies(true, true, record);
        window.finishCleanUps();
        const PrivInfoDic cleaned = scan().first();
        QCOMPARE(cleaned.kBrowserPrivacyItemsCount + cleaned.CookieStorage->CookieStorageCount,
                 quint64(0));
        // Not even in the free pages of the kept database.
        for (const auto& [name, contents] : filesBelow(home.home()).asKeyValueRange())
            QVERIFY2(!contents.contains("visited"), qPrintable(name));
        // The database answers for what it keeps (counted: the rows that miss the condition).
        const auto rows = [&](const char* table, const char* condition) {
            return Utils::countRecordsInDBFileAtPath(
                home.path(profile + kProfile + "places.sqlite"), table, condition);
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
        FakeBrowserHome home;
        // Found by name only; the localised name and the action's name play no part.
        const QString chrome = home.file(".local/share/applications/chrome-work.desktop",
                                         "[Desktop Entry]\nName=Google Chrome\nName[de]=Chrome\n"
                                         "[Desktop Action window]\nName=Firefox\n");
        // The user's entry hides the system's entry of the same id, name and all.
        const QString vivaldi = home.desktopEntry("vivaldi-stable.desktop", "Vivaldi Snapshot");
        home.desktopEntry("vivaldi-stable.desktop", "Vivaldi", home.systemShare());
        const QString ff = home.desktopEntry("firefox.desktop", "Firefox", home.systemShare());
        const QString firefox = home.folder(".config/mozilla/firefox") + '/';
        for (const char* folder : {"Profiles/a", "Profiles/z", "Profiles/x", "../../../in",
                                   "../../../b", "../../../../out"})
            QDir().mkpath(firefox + folder);
        QFile::link(home.path("b"), firefox + "Profiles/linked");
        home.file(".config/mozilla/firefox/profiles.ini",
                  QStringLiteral(
                      "[Profile0]\nIsRelative=1\nPath=Profiles/a\n[Profile1]\nIsRelative=1\n"
                      "Path=../../../in\n[Profile2]\nIsRelative=0\nPath=%1/b\n[Profile3]\n"
                      "IsRelative=0\nPath=%1/../out\n[Profile4]\nIsRelative=1\nPath=Profiles/"
                      "linked\n[Profile5]\nIsRelative=1\nPath=Profiles/gone\n[Profile6]\n"
                      "IsRelative=1\nPath=Profiles/z\n[Profile8]\nIsRelative=1\nPath=Profiles/x\n")
                      .arg(home.home())
                      .toUtf8());
        home.file("elsewhere/Default/Local Storage/leveldb");
        QFile::link(home.path("elsewhere"), home.path(".config/google-chrome"));
        // Chrome's Flatpak has a profile with nothing in it: its empty folders give no rows.
        home.folder(".var/app/com.google.Chrome/config/google-chrome/Default/Sessions");
        const QList<PrivInfoDic> records = scan();

        QStringList found;
        for (const PrivInfoDic& record : records)
            found << record.kBrowserInstallPath.value_or(record.kBrowserName);
        QCOMPARE(found, (QStringList{chrome, ff, vivaldi, "Opera", "Brave Browser"}));
        QCOMPARE(summary(records[0]), "History 0,Favicons 0,Visited Links 0,Last Session 0,"
                                      "Last Tabs 0,Top Sites 0,10 files, 0 cookies");
        QCOMPARE(records[1].CookieStorage->kBrowserFilesToRemove->filter("-wal"),
                 (QStringList{firefox + "Profiles/a/cookies.sqlite-wal",
                              home.path("b/cookies.sqlite-wal"),
                              firefox + "Profiles/z/cookies.sqlite-wal"}));
        home.file(".config/mozilla/firefox/profiles.ini", "[Profile0]\nIsRelative=1\nPath=../x\n");
        QCOMPARE(scan()[2].kBrowserNotInstalled, "Not Installed");
    }
};

QTEST_GUILESS_MAIN(TestPrivacyScan)
#include "test_privacyscan.moc"
