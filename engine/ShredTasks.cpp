#include "engine/ShredTasks.h"

#include "engine/ListId.h"
#include "platform/Task.h"

namespace tolvex {

bool ShredTasks::isBusy(const Slot& slot)
{
    return slot.launching || slot.nextChunkPending || (slot.task && slot.task->isRunning());
}

ShredTasks::Slot* ShredTasks::slot(qint64 listId)
{
    const auto index = listIndex(listId);
    return index ? &slots_[*index] : nullptr;
}

std::shared_ptr<Task> ShredTasks::shredTask(qint64 listId) const
{
    const auto index = listIndex(listId);
    std::lock_guard lock(mutex_);
    return index ? slots_[*index].task : nullptr;
}

bool ShredTasks::isShredding(qint64 listId) const
{
    const auto index = listIndex(listId);
    std::lock_guard lock(mutex_);
    return index && isBusy(slots_[*index]);
}

bool ShredTasks::isAnyShredding() const
{
    std::lock_guard lock(mutex_);
    for (const Slot& s : slots_) {
        if (isBusy(s)) {
            return true;
        }
    }
    return false;
}

void ShredTasks::terminate(qint64 listId)
{
    std::shared_ptr<Task> running;
    {
        std::lock_guard lock(mutex_);
        Slot* s = slot(listId);
        if (!s || !isBusy(*s)) {
            return;
        }
        s->cancelRequested = true;
        s->nextChunkPending = false;
        running = s->task;
    }
    if (running && running->isRunning()) {
        running->terminate();
    }
}

bool ShredTasks::beginChunk(qint64 listId, std::shared_ptr<Task> task, bool isFirstChunk)
{
    std::lock_guard lock(mutex_);
    Slot* s = slot(listId);
    if (!s) {
        return false;
    }
    if (isFirstChunk) {
        if (isBusy(*s)) {
            return false;
        }
        s->cancelRequested = false;
    } else if (s->cancelRequested || !s->nextChunkPending) {
        return false;
    }
    s->task = std::move(task);
    s->launching = true;
    s->nextChunkPending = false;
    return true;
}

bool ShredTasks::launchAttempted(qint64 listId)
{
    std::lock_guard lock(mutex_);
    Slot* s = slot(listId);
    if (!s) {
        return false;
    }
    s->launching = false;
    return s->cancelRequested;
}

bool ShredTasks::endChunk(qint64 listId, bool anotherChunkFollows)
{
    std::lock_guard lock(mutex_);
    Slot* s = slot(listId);
    if (!s) {
        return false;
    }
    s->task.reset();
    s->nextChunkPending = anotherChunkFollows && !s->cancelRequested;
    return s->nextChunkPending;
}

} // namespace tolvex
