#include "privacy/ChromiumLayout.h"

#include "engine/UtilsFileSystem.h"
#include "privacy/PrivFileRows.h"
#include "privacy/UtilsDatabase.h"

namespace tolvex {

using namespace PrivFileRows;

namespace {

const QString kProviderCache = QStringLiteral(" Provider Cache");
const QString kCookies = QStringLiteral("Cookies");
// Current Chromium releases keep the profile's cookies here, no longer beside the history.
const QString kNetworkCookies = QStringLiteral("Network/Cookies");
const QString kCookiesTable = QStringLiteral("cookies");
const QString kVisitsTable = QStringLiteral("visits");

QString under(const QString& root, const QString& relativePath)
{
    return root + u'/' + relativePath;
}

} // namespace

const ChromiumLayout ChromiumLayout::kGoogleChrome{
    .profile = QStringLiteral("google-chrome/Default"),
    .historyCompanions = {kProviderCache, kJournal},
    .cacheStore = CacheStore::Folder,
    .cache = QStringLiteral("google-chrome/Default/Cache"),
};
const ChromiumLayout ChromiumLayout::kOpera{
    .profile = QStringLiteral("opera"),
    .historyCompanions = {kProviderCache, kJournal},
    .cacheStore = CacheStore::Folder,
    .cache = QStringLiteral("opera/Cache"),
};
const ChromiumLayout ChromiumLayout::kVivaldi{
    .profile = QStringLiteral("vivaldi/Default"),
    .historyCompanions = {kJournal},
    .keepsCurrentSession = true,
    .safeBrowsingCookies = QStringLiteral("vivaldi/Safe Browsing Cookies"),
};
const ChromiumLayout ChromiumLayout::kBraveBrowser{
    .profile = QStringLiteral("BraveSoftware/Brave-Browser/Default"),
    .historyCompanions = {kJournal, kProviderCache},
    .keepsCurrentSession = true,
    .cacheStore = CacheStore::CacheDatabase,
    .cache = QStringLiteral("com.brave.Browser/Cache.db"),
    .safeBrowsingCookies = QStringLiteral("BraveSoftware/Brave-Browser/Safe Browsing Cookies"),
};

QList<PrivFileDic> ChromiumLayout::rows(const BrowserFolders& folders) const
{
    const QString profileFolder = under(folders.applicationSupport, profile);
    const auto inProfile = [&](const char* name) {
        return under(profileFolder, QLatin1String(name));
    };
    const auto plainFile = [](const QString& path) { return fileRow(path, 0, {path}); };

    const PrivFileDic history =
        databaseRow(inProfile("History"), {kVisitsTable}, historyCompanions);
    QList<PrivFileDic> rows{
        history,
        databaseRow(inProfile("Favicons"),
                    {QStringLiteral("icon_mapping"), QStringLiteral("favicons")}, {kJournal}),
        fileRow(inProfile("Visited Links"), history.kBrowserFilesCount,
                {inProfile("Visited Links")}),
        plainFile(inProfile("Last Session")),
        plainFile(inProfile("Last Tabs")),
    };
    if (const std::optional<PrivFileDic> localStorage = folderRow(inProfile("Local Storage")))
        rows << *localStorage;
    rows << databaseRow(inProfile("Top Sites"), {QStringLiteral("topsites")}, {kJournal});
    if (keepsCurrentSession)
        rows << plainFile(inProfile("Current Session")) << plainFile(inProfile("Current Tabs"));

    const QString cachePath = under(folders.caches, cache);
    switch (cacheStore) {
    case CacheStore::None:
        break;
    case CacheStore::Folder:
        if (const std::optional<PrivFileDic> cacheFolder = folderRow(cachePath))
            rows << *cacheFolder;
        break;
    case CacheStore::CacheDatabase: {
        PrivFileDic cacheDatabase =
            databaseRow(cachePath, kUrlCacheTables, {kSharedMemory, kWriteAheadLog});
        cacheDatabase.kBrowserFilesSize = Utils::fileSizeAtPath(cachePath);
        rows << cacheDatabase;
        break;
    }
    }
    return rows;
}

CookiesDic ChromiumLayout::cookies(const BrowserFolders& folders) const
{
    const QString profileFolder = under(folders.applicationSupport, profile);
    const QString cookies = under(profileFolder, kCookies);
    const QString networkCookies = under(profileFolder, kNetworkCookies);
    quint64 count = Utils::countRecordsInDBFileAtPath(cookies, kCookiesTable) +
                    Utils::countRecordsInDBFileAtPath(networkCookies, kCookiesTable);
    QStringList files{cookies, cookies + kJournal, networkCookies, networkCookies + kJournal};
    if (!safeBrowsingCookies.isEmpty()) {
        const QString safeBrowsing = under(folders.applicationSupport, safeBrowsingCookies);
        count += Utils::countRecordsInDBFileAtPath(safeBrowsing, kCookiesTable);
        files << safeBrowsing + kJournal << safeBrowsing;
    }
    return CookiesDic{cookies, count, files};
}

} // namespace tolvex
