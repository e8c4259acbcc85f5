#include "privacy/ChromiumLayout.h"

#include "privacy/PrivFileRows.h"
#include "privacy/UtilsDatabase.h"

#include <QFileInfo>
#include <algorithm>

namespace tolvex {

using namespace PrivFileRows;

namespace {

const QString kProviderCache = QStringLiteral(" Provider Cache");
const QString kCookies = QStringLiteral("Cookies");
// Current Chromium releases keep the profile's cookies here, no longer beside the history.
const QString kNetworkCookies = QStringLiteral("Network/Cookies");
const QString kCookiesTable = QStringLiteral("cookies");
const QString kVisitsTable = QStringLiteral("visits");
// Older releases named the table of the most visited sites "topsites".
const QStringList kTopSitesTables{QStringLiteral("topsites"), QStringLiteral("top_sites")};

QString under(const QString& root, const QString& relativePath)
{
    return root + u'/' + relativePath;
}

// A folder row, unless a link stands in for the folder or a folder above it.
std::optional<PrivFileDic> linkFreeFolderRow(const BrowserFolders& place, const QString& path)
{
    return place.leadsThroughNoLink(path) ? folderRow(path) : std::nullopt;
}

} // namespace

const ChromiumLayout ChromiumLayout::kGoogleChrome{
    .profile = QStringLiteral("google-chrome/Default"),
    .historyCompanions = {kProviderCache, kJournal},
    .cache = QStringLiteral("google-chrome/Default/Cache"),
};
const ChromiumLayout ChromiumLayout::kOpera{
    .profile = QStringLiteral("opera"),
    .historyCompanions = {kProviderCache, kJournal},
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
    .cache = QStringLiteral("BraveSoftware/Brave-Browser/Default/Cache"),
    .safeBrowsingCookies = QStringLiteral("BraveSoftware/Brave-Browser/Safe Browsing Cookies"),
};

QList<BrowserFolders> ChromiumLayout::placesWithProfile(const QList<BrowserFolders>& places) const
{
    QList<BrowserFolders> linkFree;
    std::copy_if(places.begin(), places.end(), std::back_inserter(linkFree),
                 [this](const BrowserFolders& place) {
                     return place.leadsThroughNoLink(under(place.applicationSupport, profile));
                 });
    QList<BrowserFolders> withProfile;
    std::copy_if(linkFree.begin(), linkFree.end(), std::back_inserter(withProfile),
                 [this](const BrowserFolders& place) {
                     return QFileInfo(under(place.applicationSupport, profile)).isDir();
                 });
    return withProfile.isEmpty() ? linkFree.mid(0, 1) : withProfile;
}

QList<PrivFileDic> ChromiumLayout::rows(const QList<BrowserFolders>& places) const
{
    QList<PrivFileDic> rows;
    for (const BrowserFolders& place : placesWithProfile(places))
        rows << this->rows(place);
    return rows;
}

QList<PrivFileDic> ChromiumLayout::rows(const BrowserFolders& place) const
{
    const QString profileFolder = under(place.applicationSupport, profile);
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
    // Sessions holds the Session_* and Tabs_* files that replaced the Last and Current ones.
    for (const char* folder : {"Sessions", "Local Storage"}) {
        if (const std::optional<PrivFileDic> row = linkFreeFolderRow(place, inProfile(folder)))
            rows << *row;
    }
    rows << databaseRow(inProfile("Top Sites"), kTopSitesTables, {kJournal});
    if (keepsCurrentSession)
        rows << plainFile(inProfile("Current Session")) << plainFile(inProfile("Current Tabs"));
    if (!cache.isEmpty()) {
        if (const std::optional<PrivFileDic> row =
                linkFreeFolderRow(place, under(place.caches, cache)))
            rows << *row;
    }
    return rows;
}

CookiesDic ChromiumLayout::cookies(const QList<BrowserFolders>& places) const
{
    CookiesDic cookies{QString(), 0, QStringList()};
    for (const BrowserFolders& place : placesWithProfile(places)) {
        const QString profileFolder = under(place.applicationSupport, profile);
        QStringList stores{under(profileFolder, kCookies), under(profileFolder, kNetworkCookies)};
        if (!safeBrowsingCookies.isEmpty())
            stores << under(place.applicationSupport, safeBrowsingCookies);
        for (const QString& store : std::as_const(stores)) {
            cookies.CookieStorageCount += Utils::countRecordsInDBFileAtPath(store, kCookiesTable);
            *cookies.kBrowserFilesToRemove << store << store + kJournal;
        }
        if (std::get<QString>(cookies.CookieStorage).isEmpty())
            cookies.CookieStorage = stores.first();
    }
    return cookies;
}

} // namespace tolvex
