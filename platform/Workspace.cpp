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
const QString kSystemFlatpakExports = QStringLiteral("/var/lib/flatpak/exports/share");
const QString kDesktopSuffix = QStringLiteral(".desktop");

// Desktop-file ids that distributions and vendors give the browsers, besides the bundle
// identifier itself (which Flatpak uses as the id).
const QHash<QString, QStringList> kKnownDesktopIds{
    {QStringLiteral("com.google.Chrome"), {QStringLiteral("google-chrome.desktop")}},
    {QStringLiteral("org.mozilla.firefox"),
     {QStringLiteral("firefox.desktop"), QStringLiteral("firefox-esr.desktop")}},
    {QStringLiteral("com.operasoftware.Opera"),
     {QStringLiteral("opera.desktop"), QStringLiteral("com.opera.Opera.desktop")}},
    {QStringLiteral("com.vivaldi.Vivaldi"), {QStringLiteral("vivaldi-stable.desktop")}},
    {QStringLiteral("com.brave.Browser"), {QStringLiteral("brave-browser.desktop")}},
};

std::mutex testingMutex;
std::optional<QString> systemFlatpakExportsForTesting;

QString systemFlatpakExports()
{
    std::lock_guard lock(testingMutex);
    return systemFlatpakExportsForTesting.value_or(kSystemFlatpakExports);
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
    dataFolders << XdgFolders::dataDirs() << systemFlatpakExports();
    dataFolders.removeDuplicates();
    QStringList folders;
    for (const QString& folder : std::as_const(dataFolders))
        folders << folder + u'/' + kApplicationsFolder;
    return folders;
}

void Workspace::setSystemFlatpakExportsForTesting(std::optional<QString> folder)
{
    std::lock_guard lock(testingMutex);
    systemFlatpakExportsForTesting = std::move(folder);
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
