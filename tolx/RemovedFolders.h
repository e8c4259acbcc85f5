#pragma once

#include <array>
#include <atomic>
#include <cstddef>

namespace tolvex::tolx {

// The kernel blanks a removed entry in its folder's block, but the blocks of a removed folder
// are dropped unwritten once the folder is freed, leaving the names it held on the disk. A
// removed folder is therefore held open, which keeps its blocks, until one sync of its file
// system has written them out: one sync serves every folder removed in the meantime. A stop
// request (SIGTERM, SIGINT) first syncs what is held.
class RemovedFolders {
public:
    RemovedFolders();
    ~RemovedFolders();
    RemovedFolders(const RemovedFolders&) = delete;
    RemovedFolders& operator=(const RemovedFolders&) = delete;

    // Takes a descriptor of a folder that is about to be removed.
    void hold(int folderFd);
    // Syncs the file systems of the held folders, then lets the folders go.
    void release();

private:
    static void syncAndStop(int signal);
    void syncHeld() const;

    // Enough to sync once for most runs.
    static constexpr std::size_t kMostHeld = 4096;
    // Plain storage, so that a signal handler may read it while the walk adds to it.
    std::array<int, kMostHeld> held_{};
    std::atomic<std::size_t> count_ = 0;
    // Half the descriptors the process may open, at most kMostHeld: the rest serve the walk.
    std::size_t limit_ = kMostHeld;
};

} // namespace tolvex::tolx
