#include "engine/TrashFolders.h"

#include "engine/MountedVolumes.h"
#include "engine/PathComponents.h"
#include "engine/UtilsFileSystem.h"
#include "platform/NativePath.h"
#include "platform/XdgFolders.h"

#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvex {

namespace {

const QString kFilesFolder = QStringLiteral("files");
constexpr const char* kInfoFolder = "info";
const QByteArray kTrashInfoSuffix = QByteArrayLiteral(".trashinfo");
constexpr int kFolderOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// A descriptor that closes with it.
struct UniqueFd {
    explicit UniqueFd(int descriptor) : fd(descriptor) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd()
    {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    const int fd;
};

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
    if (lstat(toNativePath(path).c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
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
            if (isRealFolder(files)) {
                folders.append(files);
            }
        } else {
            folders.append(volumeTrashFilesFolders(volume.path));
        }
    }
    return folders;
}

// The Trash folder and its "info" folder are opened without following links and the info file
// is removed through them, so a link swapped in on the way cannot send the removal elsewhere.
void TrashFolders::removeTrashInfoOfDestroyedItems(const QStringList& itemPaths)
{
    for (const QString& item : itemPaths) {
        const QString filesFolder = deletingLastPathComponent(item);
        if (lastPathComponent(filesFolder) != kFilesFolder || Utils::itemExistsAtPath(item)) {
            continue;
        }
        const UniqueFd trash(
            ::open(toNativePath(deletingLastPathComponent(filesFolder)).c_str(), kFolderOpenFlags));
        const UniqueFd info(trash.fd < 0 ? -1 : ::openat(trash.fd, kInfoFolder, kFolderOpenFlags));
        if (info.fd >= 0) {
            const QByteArray name = encodeNativePath(lastPathComponent(item)) + kTrashInfoSuffix;
            ::unlinkat(info.fd, name.constData(), 0);
        }
    }
}

} // namespace tolvex
