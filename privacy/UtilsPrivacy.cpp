#include "privacy/UtilsPrivacy.h"

#include "engine/UtilsFileSystem.h"
#include "platform/RunningApplication.h"
#include "platform/Workspace.h"
#include "privacy/BrowserFolders.h"
#include "privacy/Browsers.h"
#include "privacy/ChromiumLayout.h"
#include "privacy/FirefoxProfiles.h"
#include "privacy/PrivFileRows.h"
#include "privacy/SharedHTTPCookieStorage.h"

#include <QDir>
#include <algorithm>
#include <array>

namespace tolvex::Utils {

using namespace PrivFileRows;

namespace {

// Safari keeps its downloads, last session and closed tabs in binary property lists, which
// nothing on this platform reads; an unreadable list counts 0, as a missing one does.
constexpr quint64 kUnreadablePropertyListCount = 0;

struct ScannedBrowser {
    const Browser& browser;
    QList<PrivFileDic> (*rowList)();
    CookiesDic (*cookieStore)();
};

const std::array<ScannedBrowser, 6> kScanOrder{{
    {kSafari, getSafariPrivacyInfo, safariCookiesDic},
    {kGoogleChrome, getChromePrivacyInfo, chromeCookiesDic},
    {kFirefox, getFirefoxPrivacyInfo, firefoxCookiesDic},
    {kOpera, getOperaPrivacyInfo, operaCookiesDic},
    {kVivaldi, getVivaldiPrivacyInfo, vivaldiCookiesDic},
    {kBraveBrowser, getBravePrivacyInfo, braveCookiesDic},
}};

// The places of the browser's builds; none when it is not installed.
QList<BrowserFolders> installedBrowserPlaces(const Browser& browser)
{
    if (!checkIfAppWithNameInstalled(browser.name, browser.bundleID))
        return {};
    return BrowserFolders::forBrowser(browser);
}

QList<PrivFileDic> chromiumRows(const Browser& browser, const ChromiumLayout& layout)
{
    return layout.rows(installedBrowserPlaces(browser));
}

CookiesDic chromiumCookies(const Browser& browser, const ChromiumLayout& layout)
{
    return layout.cookies(BrowserFolders::forBrowser(browser));
}

PrivFileDic sized(PrivFileDic row, quint64 size)
{
    row.kBrowserFilesSize = size;
    return row;
}

QString installPath(const Browser& browser)
{
    const QString byName = Workspace::fullPathForApplication(browser.name);
    return byName.isEmpty() ? Workspace::absolutePathForAppBundleWithIdentifier(browser.bundleID)
                            : byName;
}

// Listed paths are absolute, but for the entry that stands for a database kept on disk; taken as
// a relative path it would measure whatever the working folder holds under that name.
QStringList measurablePaths(const QStringList& paths)
{
    QStringList absolute;
    std::copy_if(paths.begin(), paths.end(), std::back_inserter(absolute),
                 [](const QString& path) { return QDir::isAbsolutePath(path); });
    return absolute;
}

PrivInfoDic installedRecord(const ScannedBrowser& scanned, const QList<PrivFileDic>& rows)
{
    PrivInfoDic record;
    record.kBrowserName = scanned.browser.name;
    record.kBrowserBndlID = scanned.browser.bundleID;
    record.kBrowserPrivData = rows;
    quint64 totalSize = 0;
    for (const PrivFileDic& row : rows) {
        record.kBrowserPrivacyItemsCount += row.kBrowserFilesCount;
        record.kBrowserPrivacyInFilesCount += quint64(row.kBrowserFilesToRemove.size());
        totalSize += multipleItemsSize(measurablePaths(row.kBrowserFilesToRemove));
    }
    record.kBrowserPrivacyFilesTotalSize = getHumanReadableSizeFrom(qint64(totalSize));
    record.kBrowserInstallPath = installPath(scanned.browser);
    record.CookieStorage = scanned.cookieStore();
    return record;
}

PrivInfoDic notInstalledRecord(const Browser& browser)
{
    PrivInfoDic record;
    record.kBrowserName = browser.name;
    record.kBrowserNotInstalled = kBrowserNotInstalledText;
    return record;
}

} // namespace

void getPrivacyScanInfoArrBlock(const std::function<void(const QList<PrivInfoDic>&)>& block)
{
    QList<PrivInfoDic> records;
    for (const ScannedBrowser& scanned : kScanOrder) {
        const QList<PrivFileDic> rows = scanned.rowList();
        if (!rows.isEmpty())
            records << installedRecord(scanned, rows);
        else if (scanned.browser.name != kSafari.name) // a missing Safari is left out
            records << notInstalledRecord(scanned.browser);
    }
    std::stable_partition(records.begin(), records.end(), [](const PrivInfoDic& record) {
        return !record.kBrowserNotInstalled.has_value();
    });
    if (block)
        block(records);
}

bool checkIfAppWithNameInstalled(const QString& name, const QString& appBndlID)
{
    return !Workspace::fullPathForApplication(name).isEmpty() ||
           !Workspace::absolutePathForAppBundleWithIdentifier(appBndlID).isEmpty();
}

bool checkIfAppWithBundleID(const QString& bundleID, const QString&)
{
    return !RunningApplication::runningApplicationsWithBundleIdentifier(bundleID).isEmpty();
}

QList<PrivFileDic> getSafariPrivacyInfo()
{
    const QList<BrowserFolders> places = installedBrowserPlaces(kSafari);
    if (places.isEmpty())
        return {};
    const BrowserFolders& folders = places.first();
    const QString safari = folders.library + QStringLiteral("/Safari/");
    const QString caches = folders.caches + u'/';
    const auto database = [](const QString& path, const QStringList& tables) {
        return sized(databaseRow(path, tables, {kSharedMemory, kWriteAheadLog}),
                     fileSizeAtPath(path));
    };
    const auto propertyList = [&](const char* name) {
        const QString path = safari + QLatin1String(name);
        return sized(fileRow(path, kUnreadablePropertyListCount, {path}), fileSizeAtPath(path));
    };

    QList<PrivFileDic> rows{
        database(safari + QStringLiteral("History.db"), {QStringLiteral("HISTORY_VISITS")}),
        database(safari + QStringLiteral("WebpageIcons.db"), {QStringLiteral("PageURL")}),
        propertyList("Downloads.plist"),
        propertyList("LastSession.plist"),
        propertyList("RecentlyClosedTabs.plist"),
        database(caches + QStringLiteral("com.apple.Safari/Cache.db"), kUrlCacheTables),
    };
    for (const char* folder : {"MetaData/Safari/History", "com.apple.Safari/WebKitCache",
                               "com.apple.Safari/Webpage Previews"}) {
        const QString path = caches + QLatin1String(folder);
        if (const std::optional<PrivFileDic> row = folderRow(path))
            rows << sized(*row, folderSize(path));
    }
    return rows;
}

QList<PrivFileDic> getChromePrivacyInfo()
{
    return chromiumRows(kGoogleChrome, ChromiumLayout::kGoogleChrome);
}

QList<PrivFileDic> getFirefoxPrivacyInfo()
{
    return FirefoxProfiles(installedBrowserPlaces(kFirefox)).rows();
}

QList<PrivFileDic> getOperaPrivacyInfo()
{
    return chromiumRows(kOpera, ChromiumLayout::kOpera);
}

QList<PrivFileDic> getVivaldiPrivacyInfo()
{
    return chromiumRows(kVivaldi, ChromiumLayout::kVivaldi);
}

QList<PrivFileDic> getBravePrivacyInfo()
{
    return chromiumRows(kBraveBrowser, ChromiumLayout::kBraveBrowser);
}

CookiesDic safariCookiesDic()
{
    const std::shared_ptr<HTTPCookieStorage> storage =
        SharedHTTPCookieStorage::sharedHTTPCookieStorage();
    return CookiesDic{storage, quint64(storage->cookies().size()), std::nullopt};
}

CookiesDic chromeCookiesDic()
{
    return chromiumCookies(kGoogleChrome, ChromiumLayout::kGoogleChrome);
}

CookiesDic firefoxCookiesDic()
{
    return FirefoxProfiles(BrowserFolders::forBrowser(kFirefox)).cookies();
}

CookiesDic operaCookiesDic()
{
    return chromiumCookies(kOpera, ChromiumLayout::kOpera);
}

CookiesDic vivaldiCookiesDic()
{
    return chromiumCookies(kVivaldi, ChromiumLayout::kVivaldi);
}

CookiesDic braveCookiesDic()
{
    return chromiumCookies(kBraveBrowser, ChromiumLayout::kBraveBrowser);
}

} // namespace tolvex::Utils
