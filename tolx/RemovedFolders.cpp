#include "tolx/RemovedFolders.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvex::tolx {

namespace {

std::atomic<const RemovedFolders*> current = nullptr;

} // namespace

RemovedFolders::RemovedFolders()
{
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0)
        limit_ = std::min<rlim_t>(kMostHeld, files.rlim_cur / 2);
    current = this;
    struct sigaction stop {};
    stop.sa_handler = syncAndStop;
    stop.sa_flags = SA_RESETHAND;
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGINT, &stop, nullptr);
}

RemovedFolders::~RemovedFolders()
{
    release();
    current = nullptr;
}

void RemovedFolders::hold(int folderFd)
{
    if (count_ >= limit_)
        release();
    const int copy = fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) {
        // Out of descriptors: what is held goes now, and this folder is synced on its own.
        release();
        syncfs(folderFd);
        return;
    }
    held_[count_] = copy;
    ++count_;
}

void RemovedFolders::release()
{
    syncHeld();
    const std::size_t count = count_.exchange(0);
    for (std::size_t i = 0; i < count; ++i)
        close(held_[i]);
}

// Only system calls: it also runs in a signal handler.
void RemovedFolders::syncHeld() const
{
    dev_t synced = 0;
    for (std::size_t i = 0; i < count_; ++i) {
        struct stat status {};
        if (fstat(held_[i], &status) != 0 || status.st_dev != synced) {
            syncfs(held_[i]);
            synced = status.st_dev;
        }
    }
}

// The handler has reset itself: the signal raised again ends the program once this returns.
void RemovedFolders::syncAndStop(int signal)
{
    if (const RemovedFolders* folders = current)
        folders->syncHeld();
    raise(signal);
}

} // namespace tolvex::tolx
