#include "engine/TrashFolders.h"

#include "engine/MountedVolumes.h"
#include "engine/PathComponents.h"
#include "platform/XdgFolders.h"

#include <QFile>
#include <QFileInfo>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvex {

namespace {

const QString kFilesFolder = QStringLiteral("files");

std::optional<QString> homeTrashFolder()
{
    const std::optional<QString> dataHome = XdgFolders::dataHome();
    if (!dataHome) {
        return std::nullopt;
    }
    return *dataHome + QStringLiteral("/Trash");
}

bool isInside(const QString& path, const QString& mountPoint)
{
    return mountPoint == u"/" || path == mountPoint || path.startsWith(mountPoint + u'/');
}

// The listed volume whose mount point holds `path` most closely.
std::optional<QString> volumeHolding(const QString& path, const QList<MountedVolume>& volumes)
{
    std::optional<QString> best;
    for (const MountedVolume& volume : volumes) {
        if (isInside(path, volume.path) && (!best || volume.path.size() > best->size())) {
            best = volume.path;
        }
    }
    return best;
}

// A real folder, not a link to one: a Trash reached through a link could list anything.
bool isRealFolder(const QString& path, bool mustBeSticky = false)
{
    struct stat info {};
    if (lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return false;
    }
    return !mustBeSticky || (info.st_mode & S_ISVTX);
}

QStringList volumeTrashFilesFolders(const QString& topdir)
{
    const QString uid = QString::number(getuid());
    QStringList folders;
    const QString shared = appendingPathComponent(topdir, QStringLiteral(".Trash"));
    const QString sharedFiles =
        appendingPathComponent(appendingPathComponent(shared, uid), kFilesFolder);
    if (isRealFolder(shared, true) && isRealFolder(appendingPathComponent(shared, uid)) &&
        isRealFolder(sharedFiles)) {
        folders.append(sharedFiles);
    }
    const QString own = appendingPathComponent(topdir, QStringLiteral(".Trash-") + uid);
    const QString ownFiles = appendingPathComponent(own, kFilesFolder);
    if (isRealFolder(own) && isRealFolder(ownFiles)) {
        folders.append(ownFiles);
    }
    return folders;
}

} // namespace

QStringList TrashFolders::trashFilesFolders()
{
    const QList<MountedVolume> volumes = MountedVolumes::mountedVolumes();
    const auto homeTrash = homeTrashFolder();
    const auto homeVolume = homeTrash ? volumeHolding(*homeTrash, volumes) : std::nullopt;
    QStringList folders;
    for (const MountedVolume& volume : volumes) {
        if (volume.path == homeVolume) {
            const QString files = appendingPathComponent(*homeTrash, kFilesFolder);
            if (QFileInfo(files).isDir()) {
                folders.append(files);
            }
        } else {
            folders.append(volumeTrashFilesFolders(volume.path));
        }
    }
    return folders;
}

void TrashFolders::removeTrashInfoOfDestroyedItems(const QStringList& itemPaths)
{
    for (const QString& item : itemPaths) {
        const QString filesFolder = deletingLastPathComponent(item);
        const QFileInfo itemInfo(item);
        if (lastPathComponent(filesFolder) != kFilesFolder || itemInfo.exists() ||
            itemInfo.isSymLink()) {
            continue;
        }
        const QString info =
            appendingPathComponent(deletingLastPathComponent(filesFolder), QStringLiteral("info"));
        QFile::remove(
            appendingPathComponent(info, lastPathComponent(item) + QStringLiteral(".trashinfo")));
    }
}

} // namespace tolvex
