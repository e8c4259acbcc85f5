#include "tolx/TreeWalker.h"

#include "tolx/EntryRemover.h"
#include "tolx/FileOverwriter.h"
#include "tolx/JournalPurger.h"
#include "tolx/PassPlan.h"
#include "tolx/RemovedFolders.h"
#include "tolx/Reporter.h"
#include "tolx/StopRequestsHeld.h"
#include "tolx/UniqueFd.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace tolvex::tolx {

namespace {

constexpr mode_t kAccessBits = 0777;
// The deepest folders of the walk that stay open, besides the named one; each holds a
// descriptor and a read buffer.
constexpr std::size_t kOpenLevels = 16;
// A rename or removal costs the kernel a step for every folder above: folders met this deep
// below the named folder are moved up into it, so that a deep tree costs linear time.
constexpr std::size_t kMoveUpDepth = 256;
constexpr std::string_view kMountPoint =
    "is a mount point; it is left alone, and so are the folders holding it";
constexpr std::string_view kChanged = "changed while being destroyed; it is left in place";

int openFolder(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 || errno != EACCES)
        return fd;
    // A folder we may enter but not list still lets us act on a name inside it.
    return open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// O_NOFOLLOW (for a name) and O_NONBLOCK: whatever took the name since it was looked at, a link
// is not followed and a FIFO does not hang us; an identity check then turns it away.
int openWritable(int dirFd, const char* path, int flags)
{
    flags |= O_WRONLY | O_NONBLOCK | O_CLOEXEC;
    const int fd = openat(dirFd, path, flags | O_DIRECT);
    return fd < 0 && errno == EINVAL ? openat(dirFd, path, flags) : fd;
}

bool crossesMount(const auto& entry, dev_t folderDevice)
{
    return entry.mountRoot || entry.device != folderDevice;
}

// Whose moved folders a stop request puts back, and what the stop did before.
std::atomic<const TreeWalker*> walkerToStop = nullptr;
std::array<struct sigaction, 2> stopsBefore{};

} // namespace

void TreeWalker::CloseDir::operator()(DIR* dir) const
{
    closedir(dir);
}

TreeWalker::TreeWalker(const Options& options, Reporter& reporter, FileOverwriter& overwriter,
                       EntryRemover& remover, RemovedFolders& removedFolders, JournalPurger& purger,
                       RandomStream& random, const DeviceSync& sync)
    : options_(options), reporter_(reporter), overwriter_(overwriter), remover_(remover),
      removedFolders_(removedFolders), purger_(purger), random_(random),
      batch_(options.method, reporter, overwriter, sync, remover, removedFolders, purger, random,
             kept_)
{
    walkerToStop = this;
    struct sigaction stop {};
    stop.sa_handler = putBackAndStop;
    stop.sa_flags = SA_RESETHAND;
    sigaddset(&stop.sa_mask, SIGTERM);
    sigaddset(&stop.sa_mask, SIGINT);
    sigaction(SIGTERM, &stop, &stopsBefore[0]);
    sigaction(SIGINT, &stop, &stopsBefore[1]);
}

TreeWalker::~TreeWalker()
{
    sigaction(SIGTERM, &stopsBefore[0], nullptr);
    sigaction(SIGINT, &stopsBefore[1], nullptr);
    walkerToStop = nullptr;
}

bool TreeWalker::destroy(const std::string& path)
{
    path_ = path;
    while (path_.size() > 1 && path_.back() == '/')
        path_.pop_back();
    const std::size_t slash = path_.rfind('/');
    const std::string parent = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : path_.substr(0, slash);
    const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    if (path_ == "/" || name == "." || name == "..") {
        problem("refusing to destroy this path");
        return false;
    }
    const UniqueFd parentFd(openFolder(parent));
    Place place;
    place.fd = parentFd.get();
    Entry entry;
    int error = parentFd.valid() ? statEntry(parentFd.get(), "", place.entry) : errno;
    if (error == 0)
        error = statEntry(parentFd.get(), name, entry);
    if (error == ENOENT || error == ENOTDIR) {
        problem("nothing to destroy", error);
        return true;
    }
    if (error != 0) {
        problem("cannot reach it", error);
        return false;
    }
    if (crossesMount(entry, place.entry.device)) {
        problem(std::string(kMountPoint));
        return false;
    }
    place.blocker = folderBlocker(parentFd.get(), place.entry, false);
    return destroyEntry(place, name, entry);
}

bool TreeWalker::finish()
{
    batch_.flush();
    return batch_.allDestroyed();
}

int TreeWalker::statEntry(int dirFd, const std::string& name, Entry& entry)
{
    struct statx status {};
    if (statx(dirFd, name.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | AT_EMPTY_PATH,
              STATX_TYPE | STATX_MODE | STATX_UID | STATX_INO | STATX_NLINK, &status) != 0)
        return errno;
    entry.mode = status.stx_mode;
    entry.owner = status.stx_uid;
    entry.device = makedev(status.stx_dev_major, status.stx_dev_minor);
    entry.inode = status.stx_ino;
    entry.links = status.stx_nlink;
    entry.mountRoot = (status.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0 &&
                      (status.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    entry.locked = (status.stx_attributes & (STATX_ATTR_IMMUTABLE | STATX_ATTR_APPEND)) != 0;
    return 0;
}

bool TreeWalker::isSameItem(const struct stat& status, const Entry& entry)
{
    return (status.st_mode & S_IFMT) == (entry.mode & S_IFMT) && status.st_dev == entry.device &&
           status.st_ino == entry.inode;
}

bool TreeWalker::isSameItem(int fd, const Entry& entry)
{
    struct stat status {};
    return fstat(fd, &status) == 0 && isSameItem(status, entry);
}

bool TreeWalker::destroyEntry(const Place& place, const std::string& name, const Entry& entry)
{
    if (S_ISDIR(entry.mode) && !options_.recursive) {
        problem("is a folder; -r destroys folders");
        return false;
    }
    // A folder's contents go even where its own name has to stay.
    if (S_ISDIR(entry.mode))
        return destroyTree(place, name, entry);
    if (!mayRemove(place, entry))
        return false;
    if (S_ISREG(entry.mode))
        return destroyFile(place, name, entry);
    return destroyOther(place, name, entry);
}

// Checked before anything is overwritten: a file whose name must stay would otherwise be left
// behind emptied, its data lost and the run failed.
bool TreeWalker::mayRemove(const Place& place, const Entry& entry)
{
    int blocker = place.blocker != 0 ? place.blocker : entry.locked ? EPERM : 0;
    // In a sticky folder a name goes only by the hand of its owner, the folder's owner or root.
    if (blocker == 0 && (place.entry.mode & S_ISVTX) != 0) {
        const uid_t self = geteuid();
        if (self != 0 && self != entry.owner && self != place.entry.owner)
            blocker = EPERM;
    }
    if (blocker != 0)
        problem("its name cannot be removed; it is left intact", blocker);
    return blocker == 0;
}

bool TreeWalker::destroyFile(const Place& place, const std::string& name, const Entry& entry)
{
    bool vanished = false;
    UniqueFd fd(openForOverwrite(place.fd, name, entry, vanished));
    if (!fd.valid())
        return vanished;
    struct stat status {};
    if (fstat(fd.get(), &status) == 0 &&
        static_cast<std::uint64_t>(status.st_size) <= RemovalBatch::kLargestFile &&
        batch_.addFile(folderOf(place), name, path_, identityOf(entry), fd,
                       static_cast<std::uint64_t>(status.st_size)))
        return true;
    // The file's own road: its messages come after those of what waits in the batch, its name
    // goes after theirs.
    batch_.settle();
    reporter_.removing(path_);
    if (!overwriteAll(fd.get()))
        return false;
    batch_.flush();
    if (!removeName(place.fd, name, entry, fd.get(),
                    "overwritten, but its name could not be removed"))
        return false;
    if (entry.links > 1)
        problem("its data was overwritten and this name removed; the file's " +
                std::to_string(entry.links - 1) + " other name(s) remain");
    reporter_.done();
    return true;
}

int TreeWalker::openForOverwrite(int dirFd, const std::string& name, const Entry& entry,
                                 bool& vanished)
{
    vanished = false;
    // An owner who took away their own write permission meant the file to be kept, even when
    // they are root and the kernel would let them write; anyone else may write what access(2)
    // lets them write.
    const bool ownerMadeItReadOnly = entry.owner == geteuid() && (entry.mode & S_IWUSR) == 0;
    int fd = -1;
    if (ownerMadeItReadOnly)
        errno = EACCES;
    else
        fd = openFreeingDescriptors([&] { return openWritable(dirFd, name.c_str(), O_NOFOLLOW); });
    if (fd < 0 && errno == EACCES && options_.force)
        fd = openMadeWritable(dirFd, name, entry);
    if (fd < 0) {
        vanished = errno == ENOENT;
        if (errno == EACCES && !options_.force)
            problem("is read-only; -f makes it writable first");
        else if (!vanished)
            problem("cannot open it for writing; it is left in place", errno);
        return -1;
    }
    if (!isSameItem(fd, entry)) {
        close(fd);
        problem(std::string(kChanged));
        return -1;
    }
    return fd;
}

// The mode is changed through a descriptor of the item that was looked at, and is taken from
// that descriptor: a name swapped meanwhile for a link to another of the user's files leaves
// that file alone. The set-ID and sticky bits are dropped, never re-applied.
int TreeWalker::openMadeWritable(int dirFd, const std::string& name, const Entry& entry)
{
    const UniqueFd handle(openat(dirFd, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    if (!handle.valid() || fstat(handle.get(), &status) != 0)
        return -1;
    if (!isSameItem(status, entry)) {
        errno = EACCES;
        return -1;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(handle.get());
    if (chmod(self.c_str(), (status.st_mode & kAccessBits) | S_IWUSR) != 0)
        return -1;
    return openWritable(AT_FDCWD, self.c_str(), 0);
}

bool TreeWalker::overwriteAll(int fd)
{
    const std::vector<PassPattern> passes = passPlanFor(options_.method, random_);
    const int result =
        overwriter_.overwriteToEnd(fd, 0, passes, [this](std::uint64_t done, std::uint64_t total) {
            reporter_.progress(done, total);
        });
    if (result == FileOverwriter::kStillGrowing)
        problem("is still being written by another program; it is left in place");
    else if (result != 0)
        problem("could not overwrite it; it is left in place", result);
    return result == 0;
}

RemovalBatch::Folder TreeWalker::folderOf(const Place& place)
{
    return {place.fd, place.entry.device, place.entry.inode};
}

RemovalBatch::Identity TreeWalker::identityOf(const Entry& entry)
{
    return {entry.device, entry.inode, entry.links};
}

bool TreeWalker::destroyOther(const Place& place, const std::string& name, const Entry& entry)
{
    if (batch_.addOther(folderOf(place), name, path_, identityOf(entry)))
        return true;
    batch_.flush();
    reporter_.removing(path_);
    if (!removeName(place.fd, name, entry, -1, "could not remove it"))
        return false;
    reporter_.done();
    return true;
}

bool TreeWalker::destroyTree(const Place& place, const std::string& name, const Entry& entry)
{
    Step step = enterFolder(place, name, entry);
    if (step != Step::Entered)
        return step == Step::Done;
    for (;;) {
        std::string childName;
        Entry child;
        if (nextChild(levels_.back(), childName, child)) {
            destroyChild(childName, child);
            continue;
        }
        step = leaveFolder(place);
        if (step == Step::Lost) {
            const StopRequestsHeld held;
            putBackAll();
            moves_.clear();
            levels_.clear();
            return false;
        }
        if (levels_.empty())
            return step == Step::Done;
        if (step == Step::Kept)
            levels_.back().failed = true;
    }
}

TreeWalker::Step TreeWalker::enterFolder(const Place& place, const std::string& name,
                                         const Entry& entry)
{
    const int fd = openFreeingDescriptors([&] {
        return openat(place.fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    });
    if (fd < 0 && errno == ENOENT)
        return Step::Done;
    std::unique_ptr<DIR, CloseDir> dir(fd < 0 ? nullptr : fdopendir(fd));
    if (!dir) {
        problem("cannot read the folder; it stays", errno);
        if (fd >= 0)
            close(fd);
        return Step::Kept;
    }
    if (!isSameItem(fd, entry)) {
        problem(std::string(kChanged));
        return Step::Kept;
    }
    batch_.folderStarts(path_);
    if (levels_.empty())
        topFd_ = fd;
    Level& level = levels_.emplace_back();
    level.entry = entry;
    level.nameStart = path_.rfind('/') + 1;
    level.blocker = folderBlocker(fd, entry, true);
    level.dir = std::move(dir);
    if (levels_.size() > kOpenLevels + 1)
        levels_[levels_.size() - 1 - kOpenLevels].dir.reset();
    return Step::Entered;
}

// The batch holds descriptors of what waits in it: a flush frees them for the walk.
int TreeWalker::openFreeingDescriptors(const std::function<int()>& open)
{
    const int fd = open();
    if (fd >= 0 || errno != EMFILE)
        return fd;
    batch_.flush();
    return open();
}

// With -f, a folder of the user's that is being destroyed is made writable for the user; the
// folder holding a named item never is.
int TreeWalker::folderBlocker(int fd, const Entry& folder, bool mayChange)
{
    if (folder.locked)
        return EPERM;
    if (faccessat(fd, ".", W_OK | X_OK, AT_EACCESS) == 0)
        return 0;
    const int error = errno;
    if (error != EACCES || !mayChange || !options_.force || folder.owner != geteuid() ||
        fchmod(fd, (folder.mode & kAccessBits) | S_IWUSR | S_IXUSR) != 0)
        return error;
    return faccessat(fd, ".", W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
}

bool TreeWalker::nextChild(Level& level, std::string& name, Entry& entry)
{
    // Entries removed during a scan can make the folder's listing skip others: scan again until
    // a scan meets nothing but entries that stay.
    for (;;) {
        errno = 0;
        const dirent* child = readdir(level.dir.get());
        if (child == nullptr) {
            if (errno != 0) {
                problem("could not read the whole folder; it stays", errno);
                level.failed = true;
                return false;
            }
            if (!level.sawEntry)
                return false;
            level.sawEntry = false;
            rewinddir(level.dir.get());
            continue;
        }
        name = child->d_name;
        if (name == "." || name == "..")
            continue;
        const int error = statEntry(dirfd(level.dir.get()), name, entry);
        if (error == ENOENT || (error == 0 && (kept_.contains({entry.device, entry.inode}) ||
                                               batch_.holds(entry.device, entry.inode))))
            continue;
        if (error != 0) {
            const std::size_t keepPath = path_.size();
            path_ += '/' + name;
            problem("cannot look at it; it stays", error);
            path_.resize(keepPath);
            level.failed = true;
            return false;
        }
        level.sawEntry = true;
        level.hadEntries = true;
        return true;
    }
}

void TreeWalker::destroyChild(const std::string& name, const Entry& entry)
{
    const std::size_t keepPath = path_.size();
    path_ += '/';
    path_ += name;
    Level& level = levels_.back();
    const Place place{dirfd(level.dir.get()), level.entry, level.blocker};
    Step step = Step::Kept;
    if (crossesMount(entry, level.entry.device))
        problem(std::string(kMountPoint));
    else if (S_ISDIR(entry.mode) &&
             levels_.size() - (moves_.empty() ? 0 : moves_.back().level) >= kMoveUpDepth)
        step = moveUpAndEnter(place, name, entry, keepPath);
    else if (S_ISDIR(entry.mode))
        step = enterFolder(place, name, entry);
    else
        step = destroyEntry(place, name, entry) ? Step::Done : Step::Kept;
    // An entered folder stays on the path until the walk leaves it.
    if (step == Step::Entered)
        return;
    path_.resize(keepPath);
    if (step == Step::Kept) {
        keep(entry);
        levels_.back().failed = true;
    }
}

// The folder goes from the named folder, where it was moved, at once: the walk goes on in the
// folder it came from only once it is destroyed or put back.
TreeWalker::Step TreeWalker::moveUpAndEnter(const Place& place, const std::string& name,
                                            const Entry& entry, std::size_t parentEnd)
{
    Move move{levels_.size(), name, {}, moves_.empty() ? std::string() : moves_.back().movedAs};
    const std::size_t below = moves_.empty() ? 1 : moves_.back().level + 1;
    if (below < levels_.size()) {
        const std::size_t start = levels_[below].nameStart;
        move.parentPath +=
            (move.parentPath.empty() ? "" : "/") + path_.substr(start, parentEnd - start);
    }
    bool moved = false;
    {
        const StopRequestsHeld held;
        move.movedAs = remover_.moveAway(place.fd, name, topFd_);
        moved = !move.movedAs.empty();
        if (moved)
            moves_.push_back(std::move(move));
    }
    if (!moved)
        return enterFolder(place, name, entry);
    const Place top{topFd_, levels_.front().entry, levels_.front().blocker};
    const Step step = enterFolder(top, moves_.back().movedAs, entry);
    if (step != Step::Entered)
        endMove(step, place.fd);
    return step;
}

// A moved folder that stays goes back where it came from.
void TreeWalker::endMove(Step step, int parentFd)
{
    const StopRequestsHeld held;
    if (step == Step::Kept && !putBack(moves_.back(), parentFd))
        problem("could not be put back from " + moves_.back().movedAs + " in the named folder");
    moves_.pop_back();
}

TreeWalker::Step TreeWalker::leaveFolder(const Place& top)
{
    Level& level = levels_.back();
    const bool moved = !moves_.empty() && moves_.back().level == levels_.size() - 1;
    Place parent = top;
    if (levels_.size() > 1) {
        Level& above = levels_[levels_.size() - 2];
        if (!above.dir &&
            !(moved ? reopenMovedFrom(moves_.back(), above) : reopenParentOf(level, above)))
            return Step::Lost;
        parent = {dirfd(above.dir.get()), above.entry, above.blocker};
    }
    Step step = Step::Kept;
    if (!level.failed) {
        // A moved folder goes at once: once its move ends, a stop no longer puts it back.
        const std::string name = moved ? moves_.back().movedAs : path_.substr(level.nameStart);
        if (!moved && batch_.addEmptiedFolder(folderOf(parent), name, path_, dirfd(level.dir.get()),
                                              identityOf(level.entry), level.hadEntries)) {
            step = Step::Done;
        } else {
            batch_.flush();
            if (level.hadEntries) {
                fsync(dirfd(level.dir.get()));
                removedFolders_.hold(dirfd(level.dir.get()));
            }
            if (removeName(moved ? topFd_ : parent.fd, name, level.entry, -1,
                           "emptied, but the folder could not be removed")) {
                reporter_.done();
                step = Step::Done;
            }
        }
        level.dir.reset();
    }
    if (moved)
        endMove(step, parent.fd);
    if (step == Step::Kept)
        keep(level.entry);
    if (levels_.size() > 1)
        path_.resize(level.nameStart - 1);
    levels_.pop_back();
    return step;
}

// The way back up goes through "..", which must still be the folder the walk came down from.
bool TreeWalker::reopenParentOf(const Level& level, Level& parent)
{
    const int fd = openat(dirfd(level.dir.get()), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 && isSameItem(fd, parent.entry))
        parent.dir.reset(fdopendir(fd));
    else if (fd >= 0)
        close(fd);
    if (!parent.dir) {
        problem("was moved while being destroyed; the rest of it is left in place");
        return false;
    }
    parent.sawEntry = false;
    return true;
}

bool TreeWalker::reopenMovedFrom(const Move& move, Level& parent)
{
    const int fd = openMovedFrom(move);
    if (fd >= 0 && isSameItem(fd, parent.entry))
        parent.dir.reset(fdopendir(fd));
    else if (fd >= 0)
        close(fd);
    if (!parent.dir) {
        problem("its folder was moved while being destroyed; it is left in the named folder as " +
                move.movedAs);
        return false;
    }
    parent.sawEntry = false;
    return true;
}

// Only system calls from here to putBackAndStop: they run in the stop handler too.
int TreeWalker::openMovedFrom(const Move& move) const
{
    int fd = fcntl(topFd_, F_DUPFD_CLOEXEC, 0);
    std::array<char, NAME_MAX + 1> name{};
    std::size_t length = 0;
    for (std::size_t i = 0; fd >= 0 && i <= move.parentPath.size(); ++i) {
        if (i < move.parentPath.size() && move.parentPath[i] != '/') {
            if (length < NAME_MAX)
                name[length++] = move.parentPath[i];
            continue;
        }
        name[length] = '\0';
        const int next =
            length == 0 ? fd
                        : openat(fd, name.data(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next != fd)
            close(fd);
        fd = next;
        length = 0;
    }
    return fd;
}

bool TreeWalker::putBack(const Move& move, int parentFd) const
{
    return renameat2(topFd_, move.movedAs.c_str(), parentFd, move.name.c_str(), RENAME_NOREPLACE) ==
           0;
}

void TreeWalker::putBackAll() const
{
    for (auto move = moves_.rbegin(); move != moves_.rend(); ++move) {
        const int parentFd = openMovedFrom(*move);
        putBack(*move, parentFd);
        close(parentFd);
    }
}

// Installed with SA_RESETHAND: the stop that came in ends the program once the handler that was
// there before, or this one, raises it again.
void TreeWalker::putBackAndStop(int signal)
{
    if (const TreeWalker* walker = walkerToStop) {
        walker->batch_.removeSettledNames();
        walker->putBackAll();
    }
    const struct sigaction& before = stopsBefore[signal == SIGINT ? 1 : 0];
    if (before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN)
        before.sa_handler(signal);
    else
        raise(signal);
}

void TreeWalker::keep(const Entry& entry)
{
    kept_.insert({entry.device, entry.inode});
}

bool TreeWalker::removeName(int dirFd, const std::string& name, const Entry& entry, int openFile,
                            const std::string& failure)
{
    const int error = remover_.remove(dirFd, name, S_ISDIR(entry.mode), openFile);
    if (error != 0 && error != ENOENT) {
        problem(failure, error);
        return false;
    }
    purger_.noteRemoval(entry.device, dirFd);
    return true;
}

void TreeWalker::problem(const std::string& reason, int error)
{
    reporter_.problem(path_, error == 0 ? reason : reason + " (" + std::strerror(error) + ")");
}

} // namespace tolvex::tolx
