#include "tolx/DeviceSync.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace tolvex::tolx {

namespace {

// File systems on a local device whose sync of the whole file system writes every file's data
// and every folder's entries and then flushes the device. Elsewhere (FUSE, network file systems)
// that sync may promise less, so each file is synced on its own.
constexpr std::array<long, 5> kWholeSyncFileSystems = {
    EXT4_SUPER_MAGIC, XFS_SUPER_MAGIC, BTRFS_SUPER_MAGIC, F2FS_SUPER_MAGIC, TMPFS_MAGIC};

} // namespace

DeviceSync::DeviceSync() : DeviceSync(Calls{fdatasync, fsync, syncfs}) {}

DeviceSync::DeviceSync(const Calls& calls) : calls_(calls) {}

int DeviceSync::file(int fd) const
{
    for (const auto call : {calls_.dataSync, calls_.fileSync, calls_.fileSystemSync}) {
        if (call(fd) == 0)
            return 0;
        if (errno != EINVAL)
            return errno;
    }
    return EINVAL;
}

int DeviceSync::files(std::span<const int> fds) const
{
    if (fds.size() > 1 && syncsEverythingAtOnce(fds.front()))
        return calls_.fileSystemSync(fds.front()) == 0 ? 0 : errno;
    for (const int fd : fds)
        if (const int error = file(fd))
            return error;
    return 0;
}

void DeviceSync::folders(std::span<const int> fds) const
{
    if (fds.size() > 1 && syncsEverythingAtOnce(fds.front())) {
        calls_.fileSystemSync(fds.front());
        return;
    }
    for (const int fd : fds)
        calls_.fileSync(fd);
}

bool DeviceSync::syncsEverythingAtOnce(int fd) const
{
    struct statfs fileSystem {};
    return fstatfs(fd, &fileSystem) == 0 &&
           std::ranges::find(kWholeSyncFileSystems, static_cast<long>(fileSystem.f_type)) !=
               kWholeSyncFileSystems.end();
}

} // namespace tolvex::tolx
