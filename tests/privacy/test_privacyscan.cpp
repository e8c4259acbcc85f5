#include "FakeBrowserHome.h"
#include "engine/UtilsFileSystem.h"
#include "privacy/FirefoxProfiles.h"
#include "privacy/UtilsPrivacy.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QTest>

using namespace tolvex;

namespace {

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

// Each row as its file name and count.
QStringList rowsOf(const PrivInfoDic& record)
{
    QStringList rows;
    for (const PrivFileDic& row : record.kBrowserPrivData)
        rows << row.kBrowserFileName + ' ' + QString::number(row.kBrowserFilesCount);
    return rows;
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

// Every item below `root`, with the contents of each file. Folder times are left out: SQLite
// opens a WAL database's companion files and removes them again.
QStringList snapshot(const QString& root)
{
    QStringList items;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        const bool isFile = file.open(QIODevice::ReadOnly);
        items
            << file.fileName() + ' ' +
                   (isFile
                        ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex()
                        : QByteArray());
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
        QTest::addColumn<QString>("entryName");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("history");
        QTest::addColumn<QStringList>("historySuffixes");
        QTest::addColumn<quint64>("filesToRemove");

        const QStringList shared{"History 0",      "Favicons 0",  "Visited Links 0",
                                 "Last Session 0", "Last Tabs 0", "Top Sites 0"};
        const QStringList sessions{"Current Session 0", "Current Tabs 0"};
        const QStringList journalLast{" Provider Cache", "-journal"};
        QTest::newRow("Google Chrome")
            << "google-chrome.desktop"
            << "Google Chrome" << shared << ".config/google-chrome/Default/History" << journalLast
            << quint64(10);
        QTest::newRow("Opera") << "opera.desktop"
                               << "Opera" << shared << ".config/opera/History" << journalLast
                               << quint64(10);
        QTest::newRow("Vivaldi") << "vivaldi-stable.desktop"
                                 << "Vivaldi" << shared + sessions
                                 << ".config/vivaldi/Default/History" << QStringList{"-journal"}
                                 << quint64(11);
        QTest::newRow("Brave Browser")
            << "brave-browser.desktop"
            << "Brave Web Browser" << shared + sessions + QStringList{"Cache.db 0"}
            << ".config/BraveSoftware/Brave-Browser/Default/History"
            << QStringList{"-journal", " Provider Cache"} << quint64(15);
    }

    void emptyProfilesGiveTheFamilysFileRows()
    {
        QFETCH(QString, desktopId);
        QFETCH(QString, entryName);
        QFETCH(QStringList, rows);
        QFETCH(QString, history);
        QFETCH(QStringList, historySuffixes);
        QFETCH(quint64, filesToRemove);
        FakeBrowserHome home;
        const QString entry = home.desktopEntry(desktopId, entryName);
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
        QCOMPARE(record.kBrowserName, QTest::currentDataTag());
        QCOMPARE(record.kBrowserInstallPath, entry);
        QCOMPARE(rowsOf(record), rows);
        QCOMPARE(record.kBrowserPrivacyItemsCount, quint64(0));
        QCOMPARE(record.kBrowserPrivacyInFilesCount, filesToRemove);
        QCOMPARE(record.kBrowserPrivacyFilesTotalSize, "Zero KB");
        QStringList historyFiles{home.path(history)};
        for (const QString& suffix : historySuffixes)
            historyFiles << home.path(history) + suffix;
        QCOMPARE(record.kBrowserPrivData.first().kBrowserFilesToRemove, historyFiles);

        // Only the URL cache database row carries its own size.
        const PrivFileDic& last = record.kBrowserPrivData.last();
        QCOMPARE(last.kBrowserFilesSize.has_value(), desktopId == "brave-browser.desktop");
        if (last.kBrowserFilesSize)
            QCOMPARE(last.kBrowserFilePath, home.path(".cache/com.brave.Browser/Cache.db"));
    }

    void populatedProfilesAreCountedAndLeftAsTheyWere()
    {
        FakeBrowserHome home;
        home.desktopEntry("google-chrome.desktop", "Google Chrome");
        home.desktopEntry("vivaldi-stable.desktop", "Vivaldi");
        home.desktopEntry("firefox.desktop", "Firefox");
        const QString chrome = ".config/google-chrome/Default/";
        home.database(chrome + "History", {{"visits", 5}, {"urls", 9}});
        home.database(chrome + "Favicons", {{"icon_mapping", 2}, {"favicons", 3}});
        home.database(chrome + "Top Sites", {{"topsites", 4}});
        home.database(chrome + "Cookies", {{"cookies", 6}});
        home.database(chrome + "Network/Cookies", {{"cookies", 2}});
        home.file(chrome + "Local Storage/leveldb");
        home.file(chrome + "Local Storage/https_example.org_0.localstorage");
        home.file(chrome + "Local Storage/.lock");
        home.file(".cache/google-chrome/Default/Cache/Cache_Data/index", QByteArray(5000, 'c'));
        const QString vivaldi = ".config/vivaldi/";
        home.database(vivaldi + "Default/History", {{"visits", 5}});
        home.database(vivaldi + "Default/Cookies", {{"cookies", 4}});
        home.database(vivaldi + "Safe Browsing Cookies", {{"cookies", 3}});
        populateFirefox(home);
        const QStringList before = snapshot(home.root());

        const QList<PrivInfoDic> records = scan();
        QCOMPARE(snapshot(home.root()), before);
        QCOMPARE(browserNames(records).mid(0, 3),
                 (QStringList{"Google Chrome", "Firefox", "Vivaldi"}));

        const PrivInfoDic& chromeRecord = records[0];
        QCOMPARE(rowsOf(chromeRecord),
                 (QStringList{"History 5", "Favicons 5", "Visited Links 5", "Last Session 0",
                              "Last Tabs 0", "Local Storage 2", "Top Sites 4", "Cache 1"}));
        QCOMPARE(chromeRecord.kBrowserPrivacyItemsCount, quint64(22));
        QCOMPARE(chromeRecord.kBrowserPrivacyInFilesCount, quint64(13));
        QVERIFY(chromeRecord.kBrowserPrivacyFilesTotalSize != "Zero KB");
        const QString chromeCookies = home.path(chrome + "Cookies");
        QCOMPARE(std::get<QString>(chromeRecord.CookieStorage->CookieStorage), chromeCookies);
        const QString networkCookies = home.path(chrome + "Network/Cookies");
        QCOMPARE(chromeRecord.CookieStorage->CookieStorageCount, quint64(8));
        QCOMPARE(chromeRecord.CookieStorage->kBrowserFilesToRemove,
                 (QStringList{chromeCookies, chromeCookies + "-journal", networkCookies,
                              networkCookies + "-journal"}));

        const PrivInfoDic& vivaldiRecord = records[2];
        QCOMPARE(rowsOf(vivaldiRecord).mid(0, 3),
                 (QStringList{"History 5", "Favicons 0", "Visited Links 5"}));
        const QString cookies = home.path(vivaldi + "Default/Cookies");
        const QString network = home.path(vivaldi + "Default/Network/Cookies");
        const QString safeBrowsing = home.path(vivaldi + "Safe Browsing Cookies");
        QCOMPARE(vivaldiRecord.CookieStorage->CookieStorageCount, quint64(7));
        QCOMPARE(vivaldiRecord.CookieStorage->kBrowserFilesToRemove,
                 (QStringList{cookies, cookies + "-journal", network, network + "-journal",
                              safeBrowsing + "-journal", safeBrowsing}));
    }

    void firefoxTakesEveryVisibleChildForAProfile()
    {
        FakeBrowserHome home;
        // Found by a distribution's desktop-file id alone: its name is not the browser's.
        const QString entry =
            home.desktopEntry("firefox-esr.desktop", "Firefox ESR", home.systemShare());
        populateFirefox(home);
        const QStringList profiles =
            Utils::childrenForParentFolderAtPathOneLevel(home.path(".mozilla/firefox")).value();
        QCOMPARE(profiles.size(), 3);

        const PrivInfoDic firefox = scan().first();
        QCOMPARE(firefox.kBrowserName, "Firefox");
        QCOMPARE(firefox.kBrowserInstallPath, entry);
        QStringList rows;
        QStringList cookieFiles;
        for (int i = 0; i < profiles.size(); ++i) {
            const QString counts = profiles[i].endsWith("a.default") ? "7310" : "0000";
            for (const char* name :
                 {"places.sqlite", "webappsstore.sqlite", "formhistory.sqlite", "sessionstore.js"})
                rows << name + QStringLiteral(" ") + counts[rows.size() % 4];
            QCOMPARE(firefox.kBrowserPrivData[i * 4].kBrowserFilePath,
                     profiles[i] + "/places.sqlite");
            QCOMPARE(firefox.kBrowserPrivData[i * 4].kBrowserFilesToRemove, QStringList{"empty"});
            cookieFiles << profiles[i] + "/cookies.sqlite";
        }
        QCOMPARE(rowsOf(firefox), rows);
        QCOMPARE(firefox.kBrowserPrivacyInFilesCount, quint64(12));
        QCOMPARE(firefox.CookieStorage->CookieStorageCount, quint64(5));
        QCOMPARE(firefox.CookieStorage->kBrowserFilesToRemove, cookieFiles);
        QCOMPARE(std::get<QString>(firefox.CookieStorage->CookieStorage), cookieFiles.first());

        for (const QString& profile : profiles)
            QVERIFY(QFileInfo(profile).isDir() ? QDir(profile).removeRecursively()
                                               : QFile::remove(profile));
        const QList<PrivInfoDic> records = scan();
        QCOMPARE(browserNames(records), (QStringList{"Google Chrome -", "Firefox -", "Opera -",
                                                     "Vivaldi -", "Brave Browser -"}));
        QCOMPARE(records[1].kBrowserNotInstalled, "Not Installed");
    }

    void theKeptPlacesEntryMeasuresNothing()
    {
        FakeBrowserHome home;
        home.desktopEntry("firefox.desktop", "Firefox");
        home.file(".mozilla/firefox/profiles.ini");
        // It is no path: a file of that name in the working folder is not it.
        const QString workingFolder = QDir::currentPath();
        home.file("work/" + FirefoxProfiles::kKeptPlacesEntry, QByteArray(50000, 'w'));
        QDir::setCurrent(home.path("work"));
        const PrivInfoDic firefox = scan().first();
        QDir::setCurrent(workingFolder);
        QCOMPARE(firefox.kBrowserPrivacyInFilesCount, quint64(4));
        QCOMPARE(firefox.kBrowserPrivacyFilesTotalSize, "Zero KB");
    }

    void installedBrowsersComeFirstInScanOrder()
    {
        FakeBrowserHome home;
        // Found by name only; the localised name and the action's name play no part.
        const QString chrome = home.file(".local/share/applications/chrome-work.desktop",
                                         "[Desktop Entry]\nName=Google Chrome\nName[de]=Chrome\n"
                                         "[Desktop Action window]\nName=Firefox\n");
        // The user's entry hides the system's entry of the same id, name and all.
        const QString vivaldi = home.desktopEntry("vivaldi-stable.desktop", "Vivaldi Snapshot");
        home.desktopEntry("vivaldi-stable.desktop", "Vivaldi", home.systemShare());
        const QString brave = home.desktopEntry("com.brave.Browser.desktop", "Brave",
                                                home.path(".local/share/flatpak/exports/share"));
        home.desktopEntry("firefox.desktop", "Firefox", home.systemShare());
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
};

QTEST_GUILESS_MAIN(TestPrivacyScan)
#include "test_privacyscan.moc"
