#pragma once

#include <span>

namespace tolvex::tolx {

// Brings what was written to the device. A file's data goes with fdatasync; a file system that
// refuses it (EINVAL: some FUSE and network file systems) gets fsync, then a sync of the whole
// file system. Many files, or many folders, on a local disk file system share one sync of the
// file system: one flush of the drive's cache instead of one per file.
class DeviceSync {
public:
    // The system calls used, each returning 0 or -1 with errno set; replaceable for tests.
    struct Calls {
        int (*dataSync)(int fd);
        int (*fileSync)(int fd);
        int (*fileSystemSync)(int fd);
    };

    DeviceSync();
    explicit DeviceSync(const Calls& calls);

    // Each returns 0, or the errno of the sync that failed.
    int file(int fd) const;
    // Files all on one file system.
    int files(std::span<const int> fds) const;
    // The entries of folders all on one file system. Best effort, as removing a name does not
    // wait for it: a folder that cannot be synced still loses the entry.
    void folders(std::span<const int> fds) const;

private:
    bool syncsEverythingAtOnce(int fd) const;

    Calls calls_;
};

} // namespace tolvex::tolx
