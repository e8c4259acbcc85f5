#include "FileManager.h"

#include "platform/NativePath.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <QProcess>

namespace tolvex {

namespace {

const QString kService = QStringLiteral("org.freedesktop.FileManager1");
const QString kPath = QStringLiteral("/org/freedesktop/FileManager1");
const QString kMethod = QStringLiteral("ShowItems");
const QString kOpener = QStringLiteral("xdg-open");

// The URL of the path's own bytes: QUrl::fromLocalFile would encode a name that is not UTF-8 as
// text, which names another file.
QString fileUrl(const QString& path)
{
    return QString::fromLatin1("file://" + encodeNativePath(path).toPercentEncoding("/"));
}

void openParentFolders(const QStringList& paths)
{
    QStringList parents;
    for (const QString& path : paths) {
        const QString parent = QFileInfo(path).absolutePath();
        if (!parents.contains(parent))
            parents << parent;
    }
    for (const QString& parent : parents)
        QProcess::startDetached(kOpener, {fileUrl(parent)});
}

} // namespace

void FileManager::showItems(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openParentFolders(paths);
        return;
    }
    QStringList uris;
    for (const QString& path : paths)
        uris << fileUrl(path);
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, kMethod);
    call << uris << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [paths](QDBusPendingCallWatcher* finished) {
                         if (finished->isError())
                             openParentFolders(paths);
                         finished->deleteLater();
                     });
}

} // namespace tolvex
