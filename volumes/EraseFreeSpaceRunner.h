#pragma once

#include "volumes/VolDic.h"

#include <QString>
#include <memory>

namespace tolvex {

class Task;

// Runs the volume helper (tolx-dm) for one volume and logs what it writes. One run at a time:
// a call while a run is in progress does nothing.
class EraseFreeSpaceRunner {
public:
    explicit EraseFreeSpaceRunner(QString helperPath = defaultHelperPath());
    ~EraseFreeSpaceRunner();

    // tolx-dm, where the program's helpers live.
    static QString defaultHelperPath();

    // Launches the helper with "reformat" and the volume's mount point and returns once it has
    // exited. Blocks: call it from a thread that may wait. Any thread.
    void runEraseFreeSpaceTask(const VolDic& volume);

    // The run in progress, or a finished one the main queue has not cleared yet; null when idle.
    // Any thread.
    std::shared_ptr<Task> eraseFrSpTask() const;

private:
    struct Handle;

    QString helperPath_;
    std::shared_ptr<Handle> handle_;
};

} // namespace tolvex
