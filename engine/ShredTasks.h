#pragma once

#include <QtGlobal>
#include <array>
#include <memory>
#include <mutex>

namespace tolvex {

class Task;

// The helper-task handles of the three lists (shredTask, shredTask7, shredTask35) and the state
// of each list's run. A list is shredding while its helper runs, while a helper is about to be
// launched for it, and between two chunks of one run. Every method is safe from any thread.
class ShredTasks {
public:
    // The helper task that shreds list `listId`, or null.
    std::shared_ptr<Task> shredTask(qint64 listId) const;

    bool isShredding(qint64 listId) const;
    bool isAnyShredding() const;

    // Cancels the run of list `listId`: its helper gets SIGTERM and its later chunks never start.
    void terminate(qint64 listId);

    // The runner's side. beginChunk puts `task` in the handle unless the list is busy (a first
    // chunk) or its run was cancelled (a later chunk). launchAttempted follows the launch and
    // answers whether the run was cancelled while the helper was being launched.
    bool beginChunk(qint64 listId, std::shared_ptr<Task> task, bool isFirstChunk);
    bool launchAttempted(qint64 listId);
    // Clears the handle once a chunk's completion work is done. When another chunk follows and
    // the run was not cancelled, the list stays shredding until that chunk begins, and the answer
    // is true.
    bool endChunk(qint64 listId, bool anotherChunkFollows);

private:
    struct Slot {
        std::shared_ptr<Task> task;
        bool launching = false;
        bool nextChunkPending = false;
        bool cancelRequested = false;
    };

    static bool isBusy(const Slot& slot);
    Slot* slot(qint64 listId);

    mutable std::mutex mutex_;
    std::array<Slot, 3> slots_;
};

} // namespace tolvex
