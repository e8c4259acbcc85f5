#include "FakeBrowserHome.h"
#include "engine/UtilsFileSystem.h"
#include "privacy/FirefoxProfiles.h"
#include "privacy/UtilsPrivacy.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDirIterator>
#include <QTest>

using namespace tolvex;

namespace {

const QByteArray kChromeEntry = "[Desktop Entry]\nName=Google Chrome\n";

QList<PrivInfoDic> scan()
{
    QList<PrivInfoDic> records;
    int calls = 0;
    Utils::getPrivacyScanInfoArrBlock([&](const QList<PrivInfoDic>& scanned) {
        records = scanned;
        ++calls;
    });
    return calls == 1 ? records : QList<PrivInfoDic>();
}

QStringList browserNames(const QList<PrivInfoDic>& records)
{
    QStringList names;
    for (const PrivInfoDic& record : records)
        names << record.kBrowserName + (record.kBrowserNotInstalled ? " -" : "");
    return names;
}

QStringList fileNames(const QList<PrivFileDic>& rows)
{
    QStringList names;
    for (const PrivFileDic& row : rows)
        names << row.kBrowserFileName;
    return names;
}

QList<quint64> counts(const QList<PrivFileDic>& rows)
{
    QList<quint64> counts;
    for (const PrivFileDic& row : rows)
        counts << row.kBrowserFilesCount;
    return counts;
}

QString cookieStoragePath(const PrivInfoDic& record)
{
    return std::get<QString>(record.CookieStorage.value().CookieStorage);
}

// A Chrome profile with data in every store the scan counts.
void populateChrome(const FakeBrowserHome& home)
{
    const QString profile = ".config/google-chrome/Default/";
    home.database(profile + "History", {{"visits", 5}, {"urls", 9}});
    home.database(profile + "Favicons", {{"icon_mapping", 2}, {"favicons", 3}});
    home.database(profile + "Top Sites", {{"topsites", 4}});
    home.database(profile + "Cookies", {{"cookies", 6}});
    home.file(profile + "Local Storage/leveldb");
    home.file(profile + "Local Storage/https_example.org_0.localstorage");
    home.file(profile + "Local Storage/.lock");
    home.file(".cache/google-chrome/Default/Cache/Cache_Data/index", QByteArray(5000, 'c'));
}

// Two Firefox profiles in WAL mode, the profiles list beside them and a hidden folder.
void populateFirefox(const FakeBrowserHome& home)
{
    const QString profiles = ".mozilla/firefox/";
    home.database(
        profiles + "a.default/places.sqlite",
        {{"moz_favicons", 1}, {"moz_historyvisits", 2}, {"moz_places", 3}, {"moz_origins", 1}},
        true);
    home.database(profiles + "a.default/webappsstore.sqlite", {{"webappsstore2", 3}}, true);
    home.database(profiles + "a.default/formhistory.sqlite", {{"moz_formhistory", 1}}, true);
    home.database(profiles + "a.default/cookies.sqlite", {{"moz_cookies", 2}}, true);
    home.database(profiles + "b.dev/cookies.sqlite", {{"moz_cookies", 3}}, true);
    home.file(profiles + "profiles.ini", "[Profile0]\nPath=a.default\n");
    home.folder(profiles + ".hidden-profile");
}

// Every item below `root`, with the size, modification time and contents of each file. Folder
// times are left out: SQLite opens a WAL database's companion files and removes them again.
QStringList snapshot(const QString& root)
{
    QStringList items;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        QFile file(info.filePath());
        if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
            items << info.filePath();
            continue;
        }
        items << QStringLiteral("%1 %2 %3 %4")
                     .arg(info.filePath())
                     .arg(info.size())
                     .arg(info.lastModified().toMSecsSinceEpoch())
                     .arg(
                         QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex());
    }
    items.sort();
    return items;
}

} // namespace

class TestPrivacyScan : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void emptyProfilesGiveTheFamilysFileRows_data()
    {
        QTest::addColumn<QString>("desktopId");
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QString>("browser");
        QTest::addColumn<QStringList>("rowNames");
        QTest::addColumn<QStringList>("historyFiles");
        QTest::addColumn<quint64>("filesToRemove");

        const QStringList shared{"History",      "Favicons",  "Visited Links",
                                 "Last Session", "Last Tabs", "Top Sites"};
        const QStringList withSessions = shared + QStringList{"Current Session", "Current Tabs"};
        const QString chrome = ".config/google-chrome/Default/History";
        const QString opera = ".config/opera/History";
        const QString vivaldi = ".config/vivaldi/Default/History";
        const QString brave = ".config/BraveSoftware/Brave-Browser/Default/History";
        QTest::newRow("Google Chrome")
            << "google-chrome.desktop" << kChromeEntry << "Google Chrome" << shared
            << QStringList{chrome, chrome + " Provider Cache", chrome + "-journal"} << quint64(10);
        QTest::newRow("Opera") << "opera.desktop" << QByteArray("[Desktop Entry]\nName=Opera\n")
                               << "Opera" << shared
                               << QStringList{opera, opera + " Provider Cache", opera + "-journal"}
                               << quint64(10);
        QTest::newRow("Vivaldi") << "vivaldi-stable.desktop"
                                 << QByteArray("[Desktop Entry]\nName=Vivaldi\n") << "Vivaldi"
                                 << withSessions << QStringList{vivaldi, vivaldi + "-journal"}
                                 << quint64(11);
        QTest::newRow("Brave Browser")
            << "brave-browser.desktop" << QByteArray("[Desktop Entry]\nName=Brave Web Browser\n")
            << "Brave Browser" << withSessions + QStringList{"Cache.db"}
            << QStringList{brave, brave + "-journal", brave + " Provider Cache"} << quint64(15);
    }

    void emptyProfilesGiveTheFamilysFileRows()
    {
        QFETCH(QString, desktopId);
        QFETCH(QByteArray, entry);
        QFETCH(QString, browser);
        QFETCH(QStringList, rowNames);
        QFETCH(QStringList, historyFiles);
        QFETCH(quint64, filesToRemove);
        FakeBrowserHome home;
        home.desktopEntry(desktopId, entry);
        // Empty folders give no rows.
        for (const char* folder :
             {".config/google-chrome/Default/Local Storage", ".cache/google-chrome/Default/Cache",
              ".config/opera/Local Storage", ".cache/opera/Cache",
              ".config/vivaldi/Default/Local Storage",
              ".config/BraveSoftware/Brave-Browser/Default/Local Storage"})
            home.folder(folder);

        const QList<PrivInfoDic> records = scan();
        QCOMPARE(records.size(), 5);
        const PrivInfoDic& record = records.first();
        QCOMPARE(record.kBrowserName, browser);
        QVERIFY(!record.kBrowserNotInstalled);
        QCOMPARE(fileNames(record.kBrowserPrivData), rowNames);
        QCOMPARE(counts(record.kBrowserPrivData), QList<quint64>(rowNames.size(), 0));
        QCOMPARE(record.kBrowserPrivacyItemsCount, quint64(0));
        QCOMPARE(record.kBrowserPrivacyInFilesCount, filesToRemove);
        QCOMPARE(record.kBrowserPrivacyFilesTotalSize, "Zero KB");
        for (QString& file : historyFiles)
            file = home.path(file);
        QCOMPARE(record.kBrowserPrivData.first().kBrowserFilesToRemove, historyFiles);
        QCOMPARE(record.kBrowserInstallPath, home.path(".local/share/applications/" + desktopId));

        // Only the URL cache database row carries its own size.
        const PrivFileDic& last = record.kBrowserPrivData.last();
        QCOMPARE(last.kBrowserFilesSize.has_value(), browser == "Brave Browser");
        if (last.kBrowserFilesSize)
            QCOMPARE(last.kBrowserFilePath, home.path(".cache/com.brave.Browser/Cache.db"));
    }

    void populatedProfilesCountTheirStores()
    {
        FakeBrowserHome home;
        home.desktopEntry("google-chrome.desktop", kChromeEntry);
        home.desktopEntry("vivaldi-stable.desktop", "[Desktop Entry]\nName=Vivaldi\n");
        populateChrome(home);
        const QString vivaldi = ".config/vivaldi/";
        home.database(vivaldi + "Default/History", {{"visits", 5}});
        home.database(vivaldi + "Default/Cookies", {{"cookies", 4}});
        home.database(vivaldi + "Safe Browsing Cookies", {{"cookies", 3}});

        const QList<PrivInfoDic> records = scan();
        QCOMPARE(browserNames(records).mid(0, 2), (QStringList{"Google Chrome", "Vivaldi"}));

        const PrivInfoDic& chrome = records[0];
        QCOMPARE(fileNames(chrome.kBrowserPrivData),
                 (QStringList{"History", "Favicons", "Visited Links", "Last Session", "Last Tabs",
                              "Local Storage", "Top Sites", "Cache"}));
        QCOMPARE(counts(chrome.kBrowserPrivData), (QList<quint64>{5, 5, 5, 0, 0, 2, 4, 1}));
        QCOMPARE(chrome.kBrowserPrivacyItemsCount, quint64(22));
        QCOMPARE(chrome.kBrowserPrivacyInFilesCount, quint64(13));
        QCOMPARE(chrome.kBrowserPrivData[5].kBrowserFilePath,
                 home.path(".config/google-chrome/Default/Local Storage"));
        QVERIFY(chrome.kBrowserPrivacyFilesTotalSize != "Zero KB");
        const QString chromeCookies = home.path(".config/google-chrome/Default/Cookies");
        QCOMPARE(cookieStoragePath(chrome), chromeCookies);
        QCOMPARE(chrome.CookieStorage->CookieStorageCount, quint64(6));
        QCOMPARE(chrome.CookieStorage->kBrowserFilesToRemove,
                 (QStringList{chromeCookies, chromeCookies + "-journal"}));

        const PrivInfoDic& vivaldiRecord = records[1];
        QCOMPARE(counts(vivaldiRecord.kBrowserPrivData).mid(0, 3), (QList<quint64>{5, 0, 5}));
        const QString cookies = home.path(vivaldi + "Default/Cookies");
        const QString safeBrowsing = home.path(vivaldi + "Safe Browsing Cookies");
        QCOMPARE(vivaldiRecord.CookieStorage->CookieStorageCount, quint64(7));
        QCOMPARE(
            vivaldiRecord.CookieStorage->kBrowserFilesToRemove,
            (QStringList{cookies, cookies + "-journal", safeBrowsing + "-journal", safeBrowsing}));
    }

    void firefoxTakesEveryVisibleChildForAProfile()
    {
        FakeBrowserHome home;
        // Found by a distribution's desktop-file id alone: its name is not the browser's.
        const QString entry = home.desktopEntry(
            "firefox-esr.desktop", "[Desktop Entry]\nName=Firefox ESR\n", home.systemShare());
        populateFirefox(home);
        const QStringList profiles =
            Utils::childrenForParentFolderAtPathOneLevel(home.path(".mozilla/firefox")).value();
        QCOMPARE(profiles.size(), 3);

        const PrivInfoDic firefox = scan().first();
        QCOMPARE(firefox.kBrowserName, "Firefox");
        QCOMPARE(firefox.kBrowserInstallPath, entry);
        QCOMPARE(firefox.kBrowserPrivData.size(), 12);
        QList<quint64> expectedCounts;
        QStringList cookieFiles;
        for (int i = 0; i < profiles.size(); ++i) {
            const QList<PrivFileDic> rows = firefox.kBrowserPrivData.mid(i * 4, 4);
            QCOMPARE(rows[0].kBrowserFilePath, profiles[i] + "/places.sqlite");
            QCOMPARE(rows[0].kBrowserFilesToRemove, QStringList{"empty"});
            QCOMPARE(fileNames(rows), (QStringList{"places.sqlite", "webappsstore.sqlite",
                                                   "formhistory.sqlite", "sessionstore.js"}));
            expectedCounts << (profiles[i].endsWith("a.default") ? QList<quint64>{7, 3, 1, 0}
                                                                 : QList<quint64>{0, 0, 0, 0});
            cookieFiles << profiles[i] + "/cookies.sqlite";
        }
        QCOMPARE(counts(firefox.kBrowserPrivData), expectedCounts);
        QCOMPARE(firefox.kBrowserPrivacyInFilesCount, quint64(12));
        QCOMPARE(firefox.CookieStorage->CookieStorageCount, quint64(5));
        QCOMPARE(firefox.CookieStorage->kBrowserFilesToRemove, cookieFiles);
        QCOMPARE(cookieStoragePath(firefox), cookieFiles.first());

        for (const QString& profile : profiles)
            QVERIFY(QFileInfo(profile).isDir() ? QDir(profile).removeRecursively()
                                               : QFile::remove(profile));
        const QList<PrivInfoDic> records = scan();
        QCOMPARE(browserNames(records), (QStringList{"Google Chrome -", "Firefox -", "Opera -",
                                                     "Vivaldi -", "Brave Browser -"}));
        QCOMPARE(records[1].kBrowserNotInstalled, "Not Installed");
    }

    void aPlainFileIsAProfileWithNothingInIt()
    {
        FakeBrowserHome home;
        home.desktopEntry("firefox.desktop", "[Desktop Entry]\nName=Firefox\n");
        home.file(".mozilla/firefox/profiles.ini");
        // The kept-places entry is no path: a file of that name in the working folder is not it.
        const QString workingFolder = QDir::currentPath();
        home.file("work/" + FirefoxProfiles::kKeptPlacesEntry, QByteArray(50000, 'w'));
        QDir::setCurrent(home.path("work"));
        const PrivInfoDic firefox = scan().first();
        QDir::setCurrent(workingFolder);

        QCOMPARE(firefox.kBrowserName, "Firefox");
        QCOMPARE(counts(firefox.kBrowserPrivData), QList<quint64>(4, 0));
        QCOMPARE(firefox.kBrowserPrivacyInFilesCount, quint64(4));
        QCOMPARE(firefox.kBrowserPrivacyFilesTotalSize, "Zero KB");
    }

    void installedBrowsersComeFirstInScanOrder()
    {
        FakeBrowserHome home;
        // Found by name only; the localised name and the action's name play no part.
        const QString chrome = home.desktopEntry(
            "chrome-work.desktop", "[Desktop Entry]\nName=Google Chrome\nName[de]=Chrome\n"
                                   "[Desktop Action window]\nName=Firefox\n");
        // The user's entry hides the system's entry of the same id, name and all.
        const QString vivaldi =
            home.desktopEntry("vivaldi-stable.desktop", "[Desktop Entry]\nName=Vivaldi Snapshot\n");
        home.desktopEntry("vivaldi-stable.desktop", "[Desktop Entry]\nName=Vivaldi\n",
                          home.systemShare());
        const QString brave =
            home.desktopEntry("com.brave.Browser.desktop", "[Desktop Entry]\nName=Brave\n",
                              home.path(".local/share/flatpak/exports/share"));
        home.desktopEntry("firefox.desktop", "[Desktop Entry]\nName=Firefox\n", home.systemShare());
        home.folder(".mozilla/firefox");

        const QList<PrivInfoDic> records = scan();
        QCOMPARE(browserNames(records), (QStringList{"Google Chrome", "Vivaldi", "Brave Browser",
                                                     "Firefox -", "Opera -"}));
        QCOMPARE(records[0].kBrowserInstallPath, chrome);
        QCOMPARE(records[0].kBrowserBndlID, "com.google.Chrome");
        QCOMPARE(records[1].kBrowserInstallPath, vivaldi);
        QCOMPARE(records[2].kBrowserInstallPath, brave);
        QVERIFY(!records[4].kBrowserBndlID);
        QVERIFY(!records[4].CookieStorage);
    }

    void scanChangesNothingOnDisk()
    {
        FakeBrowserHome home;
        home.desktopEntry("google-chrome.desktop", kChromeEntry);
        home.desktopEntry("firefox.desktop", "[Desktop Entry]\nName=Firefox\n");
        home.desktopEntry("brave-browser.desktop", "[Desktop Entry]\nName=Brave Web Browser\n");
        populateChrome(home);
        populateFirefox(home);
        const QStringList before = snapshot(home.root());

        QCOMPARE(scan().size(), 5);
        QCOMPARE(snapshot(home.root()), before);
    }
};

QTEST_GUILESS_MAIN(TestPrivacyScan)
#include "test_privacyscan.moc"
