#include "platform/Workspace.h"

#include "platform/DesktopEntry.h"
#include "platform/XdgFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <mutex>

namespace tolvex {

namespace {

const QString kApplicationsFolder = QStringLiteral("applications");
const QString kFlatpakExports = QStringLiteral("flatpak/exports/share");
// Where the system's Flatpak installation and snapd export the desktop entries of their
// applications, each with "applications" below it.
const QString kSystemFlatpakExports = QStringLiteral("/var/lib/flatpak/exports/share");
const QString kSnapdExports = QStringLiteral("/var/lib/snapd/desktop");
const QString kDesktopSuffix = QStringLiteral(".desktop");

// Desktop-file ids that distributions, vendors and snaps (as "<snap>_<app>") give the browsers,
// besides the bundle identifier itself (which Flatpak uses as the id).
const QHash<QString, QStringList> kKnownDesktopIds{
    {QStringLiteral("com.google.Chrome"), {QStringLiteral("google-chrome.desktop")}},
    {QStringLiteral("org.mozilla.firefox"),
     {QStringLiteral("firefox.desktop"), QStringLiteral("firefox-esr.desktop"),
      QStringLiteral("firefox_firefox.desktop")}},
    {QStringLiteral("com.operasoftware.Opera"),
     {QStringLiteral("opera.desktop"), QStringLiteral("com.opera.Opera.desktop"),
      QStringLiteral("opera_opera.desktop")}},
    {QStringLiteral("com.vivaldi.Vivaldi"),
     {QStringLiteral("vivaldi-stable.desktop"), QStringLiteral("vivaldi_vivaldi-stable.desktop")}},
    {QStringLiteral("com.brave.Browser"),
     {QStringLiteral("brave-browser.desktop"), QStringLiteral("brave_brave.desktop")}},
};

std::mutex testingMutex;
QString systemRootForTesting;

// The system's export folders, below the root that tests put in place of "/".
QStringList systemExports()
{
    std::lock_guard lock(testingMutex);
    return {systemRootForTesting + kSystemFlatpakExports, systemRootForTesting + kSnapdExports};
}

// The first entry with this desktop-file id in order of precedence.
QString entryWithId(const QString& desktopId)
{
    for (const QString& folder : Workspace::applicationFolders()) {
        const QString path = folder + u'/' + desktopId;
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

} // namespace

QStringList Workspace::applicationFolders()
{
    QStringList dataFolders;
    if (const std::optional<QString> dataHome = XdgFolders::dataHome())
        dataFolders << *dataHome << *dataHome + u'/' + kFlatpakExports;
    dataFolders << XdgFolders::dataDirs() << systemExports();
    dataFolders.removeDuplicates();
    QStringList folders;
    for (const QString& folder : std::as_const(dataFolders))
        folders << folder + u'/' + kApplicationsFolder;
    return folders;
}

void Workspace::setSystemRootForTesting(const QString& root)
{
    std::lock_guard lock(testingMutex);
    systemRootForTesting = root;
}

QString Workspace::fullPathForApplication(const QString& name)
{
    // An id met in a folder of higher precedence hides the entries of that id further down.
    QSet<QString> seenIds;
    for (const QString& folder : applicationFolders()) {
        const QStringList ids = QDir(folder).entryList({u'*' + kDesktopSuffix},
                                                       QDir::Files | QDir::Readable, QDir::Name);
        for (const QString& id : ids) {
            if (seenIds.contains(id))
                continue;
            seenIds.insert(id);
            const QString path = folder + u'/' + id;
            const std::optional<DesktopEntry> entry = DesktopEntry::read(path);
            if (entry && entry->name == name)
                return path;
        }
    }
    return {};
}

QString Workspace::absolutePathForAppBundleWithIdentifier(const QString& bundleID)
{
    if (bundleID.isEmpty())
        return {};
    for (const QString& id :
         QStringList{bundleID + kDesktopSuffix} + kKnownDesktopIds.value(bundleID)) {
        const QString path = entryWithId(id);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

QString Workspace::iconNameForApplication(const QString& desktopEntryPath)
{
    const std::optional<DesktopEntry> entry = DesktopEntry::read(desktopEntryPath);
    return entry ? entry->icon : QString();
}

} // namespace tolvex
