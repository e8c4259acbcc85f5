#include "engine/TrashFolders.h"

#include "engine/MountedVolumes.h"
#include "engine/PathComponents.h"
#include "engine/UtilsFileSystem.h"
#include "platform/NativePath.h"
#include "platform/XdgFolders.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tolvex {

namespace {

constexpr const char* kFilesFolder = "files";
constexpr const char* kInfoFolder = "info";
constexpr const char* kSharedTrash = ".Trash";
constexpr const char* kFolderSizes = "directorysizes";
constexpr const char* kFolderSizesDraft = "directorysizes.new";
const QByteArray kTrashInfoSuffix = QByteArrayLiteral(".trashinfo");
constexpr int kLookFlags = O_PATH | O_NOFOLLOW | O_CLOEXEC;
constexpr int kFolderOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr mode_t kWritableByOthers = S_IWGRP | S_IWOTH;

const QString kIsLink = QStringLiteral("it is a link");
const QString kIsNotFolder = QStringLiteral("it is not a folder");
const QString kIsNotOwn = QStringLiteral("it belongs to another user");
const QString kOthersMayWrite = QStringLiteral("other users may change it");
const QString kOthersMayRename = QStringLiteral("other users may replace it");
const QString kNoStickyBit = QStringLiteral("it lacks the sticky bit");

// A descriptor that closes with it.
class UniqueFd {
public:
    explicit UniqueFd(int descriptor = -1) : fd_(descriptor) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~UniqueFd()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

private:
    int fd_;
};

// A folder reached on the way down to a Trash, held open so that what was checked is what is
// used next.
struct Held {
    UniqueFd fd;
    struct stat info {};
    QString path;
};

enum class Kind { Own, SharedSticky };

// Why a folder may not serve as the user's Trash, or nothing when it may.
std::optional<QString> flawOf(const struct stat& info, Kind kind)
{
    if (S_ISLNK(info.st_mode)) {
        return kIsLink;
    }
    if (!S_ISDIR(info.st_mode)) {
        return kIsNotFolder;
    }
    if (kind == Kind::SharedSticky) {
        return info.st_mode & S_ISVTX ? std::nullopt : std::optional(kNoStickyBit);
    }
    if (info.st_uid != getuid()) {
        return kIsNotOwn;
    }
    if (info.st_mode & kWritableByOthers) {
        return kOthersMayWrite;
    }
    return std::nullopt;
}

// Any user may rename what a folder holds when anyone may write to it, unless its sticky bit
// keeps each entry to its owner. A folder writable by its group is left to the group: under
// user-private groups that is the user alone.
bool othersMayRenameIn(const struct stat& folder)
{
    return (folder.st_mode & S_IWOTH) && !(folder.st_mode & S_ISVTX);
}

// One step down the way to a Trash. Nothing when there is no such entry (or it cannot be seen):
// that Trash does not exist. A step that fails the rules lands in `refused`.
std::optional<Held> stepDown(const Held& parent, const char* name, Kind kind,
                             QList<RefusedTrash>& refused)
{
    Held child{UniqueFd(::openat(parent.fd.get(), name, kLookFlags)),
               {},
               appendingPathComponent(parent.path, decodeNativePath(name))};
    if (child.fd.get() < 0 || ::fstat(child.fd.get(), &child.info) != 0) {
        return std::nullopt;
    }
    std::optional<QString> flaw = flawOf(child.info, kind);
    if (!flaw && kind == Kind::Own && othersMayRenameIn(parent.info)) {
        flaw = kOthersMayRename;
    }
    if (flaw) {
        refused.append({child.path, *flaw});
        return std::nullopt;
    }
    return child;
}

std::optional<Held> openAnchor(const QString& path)
{
    Held anchor{
        UniqueFd(::open(toNativePath(path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)), {}, path};
    if (anchor.fd.get() < 0 || ::fstat(anchor.fd.get(), &anchor.info) != 0) {
        return std::nullopt;
    }
    return anchor;
}

// The "files" folder of the Trash at `trash` when it is the user's own: "info" too, where it
// exists, must pass.
void addFilesFolder(const std::optional<Held>& trash, TrashSearch& search)
{
    if (!trash) {
        return;
    }
    QList<RefusedTrash> refused;
    const std::optional<Held> files = stepDown(*trash, kFilesFolder, Kind::Own, refused);
    stepDown(*trash, kInfoFolder, Kind::Own, refused);
    if (!refused.isEmpty()) {
        search.refused.append(refused);
    } else if (files) {
        search.filesFolders.append(files->path);
    }
}

void searchVolume(const QString& topdir, TrashSearch& search)
{
    const std::optional<Held> top = openAnchor(topdir);
    if (!top) {
        return;
    }
    const QByteArray uid = QByteArray::number(getuid());
    // A shared Trash not fit for use matters only when it holds a folder in the user's name.
    QList<RefusedTrash> sharedFlaw;
    const std::optional<Held> shared = stepDown(*top, kSharedTrash, Kind::SharedSticky, sharedFlaw);
    struct stat userFolder {};
    if (shared) {
        addFilesFolder(stepDown(*shared, uid.constData(), Kind::Own, search.refused), search);
    } else if (::fstatat(top->fd.get(), (kSharedTrash + ("/" + uid)).constData(), &userFolder,
                         AT_SYMLINK_NOFOLLOW) == 0) {
        search.refused.append(sharedFlaw);
    }
    const QByteArray own = kSharedTrash + QByteArrayLiteral("-") + uid;
    addFilesFolder(stepDown(*top, own.constData(), Kind::Own, search.refused), search);
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

// The folder-size cache holds one line per trashed folder: its size, its time and its name,
// percent-encoded. The lines of `names` go; the rest is written anew beside it and put in its
// place in one step.
void forgetFolderSizes(int trashFd, const QSet<QByteArray>& names)
{
    const UniqueFd cache(::openat(trashFd, kFolderSizes, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    QFile reader;
    if (cache.get() < 0 || !reader.open(cache.get(), QIODevice::ReadOnly)) {
        return;
    }
    QByteArray kept;
    bool changed = false;
    for (const QByteArray& line : reader.readAll().split('\n')) {
        if (names.contains(QByteArray::fromPercentEncoding(line.split(' ').value(2)))) {
            changed = true;
        } else if (!line.isEmpty()) {
            kept += line + '\n';
        }
    }
    if (!changed) {
        return;
    }
    ::unlinkat(trashFd, kFolderSizesDraft, 0);
    const UniqueFd draft(::openat(trashFd, kFolderSizesDraft,
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    QFile writer;
    if (draft.get() >= 0 && writer.open(draft.get(), QIODevice::WriteOnly) &&
        writer.write(kept) == kept.size() && writer.flush()) {
        ::renameat(trashFd, kFolderSizesDraft, trashFd, kFolderSizes);
    } else {
        ::unlinkat(trashFd, kFolderSizesDraft, 0);
    }
}

// A Trash folder or its "info" folder, opened without following a link and checked again: the
// run has taken time, and what is removed is removed inside folders only the user controls.
UniqueFd openOwnFolder(int parentFd, const char* name)
{
    UniqueFd folder(::openat(parentFd, name, kFolderOpenFlags));
    struct stat info {};
    if (folder.get() < 0 || ::fstat(folder.get(), &info) != 0 || flawOf(info, Kind::Own)) {
        return UniqueFd();
    }
    return folder;
}

} // namespace

TrashSearch TrashFolders::trashFilesFolders()
{
    const QList<MountedVolume> volumes = MountedVolumes::mountedVolumes();
    const std::optional<QString> dataHome = XdgFolders::dataHome();
    const auto homeVolume = dataHome ? volumeHolding(*dataHome, volumes) : std::nullopt;
    TrashSearch search;
    for (const MountedVolume& volume : volumes) {
        if (volume.path != homeVolume) {
            searchVolume(volume.path, search);
        } else if (const std::optional<Held> home = openAnchor(*dataHome)) {
            addFilesFolder(stepDown(*home, "Trash", Kind::Own, search.refused), search);
        }
    }
    return search;
}

void TrashFolders::removeTrashInfoOfDestroyedItems(const QStringList& itemPaths)
{
    QHash<QString, QSet<QByteArray>> destroyedByTrash;
    for (const QString& item : itemPaths) {
        const QString filesFolder = deletingLastPathComponent(item);
        if (lastPathComponent(filesFolder) == QLatin1String(kFilesFolder) &&
            !Utils::itemExistsAtPath(item)) {
            destroyedByTrash[deletingLastPathComponent(filesFolder)].insert(
                encodeNativePath(lastPathComponent(item)));
        }
    }
    for (auto trash = destroyedByTrash.cbegin(); trash != destroyedByTrash.cend(); ++trash) {
        const QString parent = deletingLastPathComponent(trash.key());
        const UniqueFd above(
            ::open(toNativePath(parent).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        const UniqueFd trashFd = openOwnFolder(
            above.get(), encodeNativePath(lastPathComponent(trash.key())).constData());
        if (trashFd.get() < 0) {
            continue;
        }
        if (const UniqueFd info = openOwnFolder(trashFd.get(), kInfoFolder); info.get() >= 0) {
            for (const QByteArray& name : trash.value()) {
                ::unlinkat(info.get(), (name + kTrashInfoSuffix).constData(), 0);
            }
        }
        forgetFolderSizes(trashFd.get(), trash.value());
    }
}

} // namespace tolvex
