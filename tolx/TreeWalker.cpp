#include "tolx/TreeWalker.h"

#include "tolx/EntryRemover.h"
#include "tolx/FileOverwriter.h"
#include "tolx/JournalPurger.h"
#include "tolx/Reporter.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace tolvex::tolx {

namespace {

constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;

class UniqueFd {
public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

struct CloseDir {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, CloseDir>;

// Appends one name to the walk's path for as long as the entry is in hand.
class PathScope {
public:
    PathScope(std::string& path, const std::string& name) : path_(path), keep_(path.size())
    {
        path_ += '/';
        path_ += name;
    }
    ~PathScope() { path_.resize(keep_); }
    PathScope(const PathScope&) = delete;
    PathScope& operator=(const PathScope&) = delete;

private:
    std::string& path_;
    std::size_t keep_;
};

int openFolder(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 || errno != EACCES)
        return fd;
    // A folder we may enter but not list still lets us act on a name inside it.
    return open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

} // namespace

TreeWalker::TreeWalker(const Options& options, Reporter& reporter, FileOverwriter& overwriter,
                       EntryRemover& remover, JournalPurger& purger, RandomStream& random)
    : options_(options), reporter_(reporter), overwriter_(overwriter), remover_(remover),
      purger_(purger), random_(random)
{}

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
    Entry entry;
    const int error = parentFd.get() < 0 ? errno : statEntry(parentFd.get(), name, entry);
    if (error == ENOENT || error == ENOTDIR) {
        problem("nothing to destroy", error);
        return true;
    }
    if (error != 0) {
        problem("cannot reach it", error);
        return false;
    }
    const bool destroyed = destroyEntry(parentFd.get(), name, entry);
    if (destroyed)
        purger_.noteRemovalIn(parentFd.get());
    return destroyed;
}

int TreeWalker::statEntry(int dirFd, const std::string& name, Entry& entry)
{
    struct statx status {};
    if (statx(dirFd, name.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
              STATX_TYPE | STATX_MODE | STATX_INO | STATX_NLINK, &status) != 0)
        return errno;
    entry.mode = status.stx_mode;
    entry.device = makedev(status.stx_dev_major, status.stx_dev_minor);
    entry.inode = status.stx_ino;
    entry.links = status.stx_nlink;
    entry.mountRoot = (status.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0 &&
                      (status.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    return 0;
}

bool TreeWalker::destroyEntry(int dirFd, const std::string& name, const Entry& entry)
{
    if (S_ISDIR(entry.mode)) {
        if (!options_.recursive) {
            problem("is a folder; -r destroys folders");
            return false;
        }
        return destroyFolder(dirFd, name, entry);
    }
    if (S_ISREG(entry.mode))
        return destroyFile(dirFd, name, entry);
    return destroyOther(dirFd, name);
}

bool TreeWalker::destroyFile(int dirFd, const std::string& name, const Entry& entry)
{
    bool vanished = false;
    const UniqueFd fd(openForOverwrite(dirFd, name, entry, vanished));
    if (fd.get() < 0)
        return vanished;
    struct stat status {};
    if (fstat(fd.get(), &status) != 0) {
        problem("cannot read its size", errno);
        return false;
    }
    reporter_.removing(path_);
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (size > 0) {
        const std::vector<PassPattern> passes = passPlanFor(options_.method, random_);
        const std::uint64_t workTotal = size * passes.size();
        const int error = overwriter_.overwrite(fd.get(), size, passes, [&](std::uint64_t done) {
            reporter_.progress(done, workTotal);
        });
        if (error != 0) {
            problem("could not overwrite it; it is left in place", error);
            return false;
        }
    }
    if (const int error = remover_.remove(dirFd, name, false, fd.get())) {
        problem("overwritten, but its name could not be removed", error);
        return false;
    }
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
    if ((entry.mode & kAnyWrite) == 0) {
        if (!options_.force) {
            problem("is read-only; -f makes it writable first");
            return -1;
        }
        if (fchmodat(dirFd, name.c_str(), (entry.mode & kPermissionBits) | S_IWUSR,
                     AT_SYMLINK_NOFOLLOW) != 0) {
            vanished = errno == ENOENT;
            if (!vanished)
                problem("cannot make it writable", errno);
            return -1;
        }
    }
    // O_NOFOLLOW and O_NONBLOCK: whatever took the name since it was looked at, a link is not
    // followed and a FIFO does not hang us; the identity check below then turns it away.
    constexpr int kFlags = O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = openat(dirFd, name.c_str(), kFlags | O_DIRECT);
    if (fd < 0 && errno == EINVAL)
        fd = openat(dirFd, name.c_str(), kFlags);
    if (fd < 0) {
        vanished = errno == ENOENT;
        if (!vanished)
            problem("cannot open it for writing; it is left in place", errno);
        return -1;
    }
    if (!isSameItem(fd, entry)) {
        close(fd);
        problem("changed while being destroyed; it is left in place");
        return -1;
    }
    return fd;
}

bool TreeWalker::isSameItem(int fd, const Entry& entry)
{
    struct stat status {};
    return fstat(fd, &status) == 0 && (status.st_mode & S_IFMT) == (entry.mode & S_IFMT) &&
           status.st_dev == entry.device && status.st_ino == entry.inode;
}

bool TreeWalker::destroyFolder(int dirFd, const std::string& name, const Entry& entry)
{
    const int fd = openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return true;
        problem("cannot read the folder; it stays", errno);
        return false;
    }
    DirHandle folder(fdopendir(fd));
    if (!folder) {
        close(fd);
        problem("cannot read the folder; it stays", errno);
        return false;
    }
    if (!isSameItem(dirfd(folder.get()), entry)) {
        problem("changed while being destroyed; it is left in place");
        return false;
    }
    reporter_.removing(path_);
    // Entries removed during a scan can make the folder's listing skip others: scan again
    // until a scan finds the folder empty.
    bool hadEntries = false;
    for (Scan scan = destroyContents(folder.get(), entry.device); scan != Scan::Empty;
         scan = destroyContents(folder.get(), entry.device)) {
        if (scan == Scan::Failed)
            return false;
        hadEntries = true;
        rewinddir(folder.get());
    }
    if (hadEntries) {
        purger_.noteRemovalIn(dirfd(folder.get()));
        // The kernel blanks removed entries in the folder's blocks, but blocks freed with the
        // folder never reach the disk again: write the blanked ones out first.
        syncfs(dirfd(folder.get()));
    }
    folder.reset();
    if (const int error = remover_.remove(dirFd, name, true)) {
        problem("emptied, but the folder could not be removed", error);
        return false;
    }
    reporter_.done();
    return true;
}

TreeWalker::Scan TreeWalker::destroyContents(DIR* folder, dev_t device)
{
    bool sawEntry = false;
    bool failed = false;
    errno = 0;
    while (const dirent* child = readdir(folder)) {
        const std::string name = child->d_name;
        if (name == "." || name == "..")
            continue;
        sawEntry = true;
        const PathScope scope(path_, name);
        Entry entry;
        const int error = statEntry(dirfd(folder), name, entry);
        if (error == ENOENT) {
            errno = 0;
            continue;
        }
        if (error != 0) {
            problem("cannot look at it; it stays", error);
            failed = true;
        } else if (entry.mountRoot || entry.device != device) {
            problem("is a mount point of another file system; not entered, and the folders "
                    "holding it stay");
            failed = true;
        } else if (!destroyEntry(dirfd(folder), name, entry)) {
            failed = true;
        }
        errno = 0;
    }
    if (errno != 0) {
        problem("could not read the whole folder; it stays", errno);
        failed = true;
    }
    return failed ? Scan::Failed : sawEntry ? Scan::Progressed : Scan::Empty;
}

bool TreeWalker::destroyOther(int dirFd, const std::string& name)
{
    reporter_.removing(path_);
    const int error = remover_.remove(dirFd, name, false);
    if (error != 0 && error != ENOENT) {
        problem("could not remove it", error);
        return false;
    }
    reporter_.done();
    return true;
}

void TreeWalker::problem(const std::string& reason, int error)
{
    reporter_.problem(path_, error == 0 ? reason : reason + " (" + std::strerror(error) + ")");
}

} // namespace tolvex::tolx
