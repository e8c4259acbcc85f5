#pragma once

#include <sys/types.h>
#include <vector>

namespace tolvex::tolx {

// An ext4 journal keeps copies of folder blocks, and with them the names of removed items,
// until it wraps around. This remembers the file systems items were removed from and, at the
// end of the run, has the kernel checkpoint each journal and zero it. Only root may do that;
// for anyone else it quietly does nothing.
class JournalPurger {
public:
    JournalPurger() = default;
    ~JournalPurger();
    JournalPurger(const JournalPurger&) = delete;
    JournalPurger& operator=(const JournalPurger&) = delete;

    // Something was removed from the folder open as folderFd.
    void noteRemovalIn(int folderFd);
    void purge();

private:
    struct FileSystem {
        dev_t device;
        int fd;
    };

    std::vector<FileSystem> fileSystems_;
};

} // namespace tolvex::tolx
