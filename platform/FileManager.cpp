#include "FileManager.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace tolvex {

namespace {

const QString kService = QStringLiteral("org.freedesktop.FileManager1");
const QString kPath = QStringLiteral("/org/freedesktop/FileManager1");
const QString kMethod = QStringLiteral("ShowItems");
const QString kOpener = QStringLiteral("xdg-open");

void openParentFolders(const QStringList& paths)
{
    QStringList parents;
    for (const QString& path : paths) {
        const QString parent = QFileInfo(path).absolutePath();
        if (!parents.contains(parent))
            parents << parent;
    }
    for (const QString& parent : parents)
        QProcess::startDetached(kOpener, {parent});
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
        uris << QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
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
