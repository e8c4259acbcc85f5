#include "tolx/JournalPurger.h"

#include <algorithm>
#include <fcntl.h>
#include <linux/magic.h>
#include <linux/types.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace tolvex::tolx {

namespace {

// The kernel's ext4 checkpoint request (Linux 5.13 and later); no installed header carries it.
constexpr unsigned long kExt4CheckpointRequest = _IOW('f', 43, __u32);
constexpr __u32 kExt4CheckpointZeroOut = 0x2;

} // namespace

JournalPurger::~JournalPurger()
{
    for (const FileSystem& fileSystem : fileSystems_)
        close(fileSystem.fd);
}

void JournalPurger::noteRemovalIn(int folderFd)
{
    struct stat folder {};
    if (fstat(folderFd, &folder) != 0)
        return;
    const bool known = std::any_of(fileSystems_.begin(), fileSystems_.end(),
                                   [&](const FileSystem& f) { return f.device == folder.st_dev; });
    struct statfs fileSystem {};
    if (known || fstatfs(folderFd, &fileSystem) != 0 || fileSystem.f_type != EXT4_SUPER_MAGIC)
        return;
    const int fd = fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    if (fd >= 0)
        fileSystems_.push_back({folder.st_dev, fd});
}

void JournalPurger::purge()
{
    for (const FileSystem& fileSystem : fileSystems_) {
        __u32 flags = kExt4CheckpointZeroOut;
        ioctl(fileSystem.fd, kExt4CheckpointRequest, &flags);
    }
}

} // namespace tolvex::tolx
