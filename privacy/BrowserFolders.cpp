#include "privacy/BrowserFolders.h"

#include "platform/HomeFolder.h"
#include "platform/XdgFolders.h"

#include <QDir>
#include <QFileInfo>

namespace tolvex {

namespace {

const QString kSnaps = QStringLiteral("/snap/");
// Snapd keeps a snap's data of every revision here; the revision folders come and go.
const QString kSnapCommonData = QStringLiteral("/common");
const QString kFlatpaks = QStringLiteral("/.var/app/");

// A Snap build sees its folder as its home, with the usual base folders below it.
BrowserFolders snapFolders(const QString& home, const QString& snap)
{
    const QString folder = home + kSnaps + snap + kSnapCommonData;
    return {folder,
            folder + QStringLiteral("/.local/share"),
            folder + QStringLiteral("/.config"),
            folder + QStringLiteral("/.cache"),
            {home}};
}

// A Flatpak build has its base folders, and the folders of the home it persists (as Firefox's
// .mozilla), in its own folder.
BrowserFolders flatpakFolders(const QString& home, const QString& appId)
{
    const QString folder = home + kFlatpaks + appId;
    return {folder,
            folder + QStringLiteral("/data"),
            folder + QStringLiteral("/config"),
            folder + QStringLiteral("/cache"),
            {home}};
}

// The regular package's place: the user's base folders.
std::optional<BrowserFolders> regularFolders()
{
    const std::optional<QString> passwdHome = HomeFolder::realHomeFolder();
    const std::optional<QString> home =
        passwdHome ? std::optional(QDir::cleanPath(*passwdHome)) : std::nullopt;
    const std::optional<QString> library = XdgFolders::dataHome();
    const std::optional<QString> applicationSupport = XdgFolders::configHome();
    const std::optional<QString> caches = XdgFolders::cacheHome();
    if (!home || !library || !applicationSupport || !caches)
        return std::nullopt;
    return BrowserFolders{*home,
                          *library,
                          *applicationSupport,
                          *caches,
                          {*home, *library, *applicationSupport, *caches}};
}

} // namespace

QList<BrowserFolders> BrowserFolders::forBrowser(const Browser& browser)
{
    const std::optional<BrowserFolders> regular = regularFolders();
    if (!regular)
        return {};
    QList<BrowserFolders> places{*regular};
    if (!browser.snap.isEmpty())
        places << snapFolders(regular->home, browser.snap);
    if (!browser.flatpak.isEmpty())
        places << flatpakFolders(regular->home, browser.flatpak);
    return places;
}

bool BrowserFolders::leadsThroughNoLink(const QString& path) const
{
    QString item = QDir::cleanPath(path);
    while (!trusted.contains(item)) {
        const QFileInfo info(item);
        if (info.isSymLink())
            return false;
        const QString parent = info.path();
        if (parent == item)
            return false;
        item = parent;
    }
    return true;
}

} // namespace tolvex
