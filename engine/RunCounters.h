#pragma once

#include "engine/ItemSizeSnapshot.h"

#include <atomic>

namespace tolvex {

// What one launch of the helper has destroyed so far, in files and bytes, counted from its
// "removing" lines as they are read, and added to the lifetime totals when the launch ends.
// count runs on the task's reader thread; the totals are read on its termination thread.
class RunCounters {
public:
    explicit RunCounters(const QStringList& launchedPaths);

    // An item the launch held counts with its size from then, unless it is a folder. Any other
    // path is judged as it is now: for 1-pass anything but an existing folder counts (a missing
    // path with 0 bytes), for the other methods only an existing item that is not a folder.
    void count(qint64 listId, const QString& path);

    quint64 files() const { return files_.load(); }
    quint64 bytes() const { return bytes_.load(); }

    // Adds a finished launch to the lifetime totals in the settings file. Any thread.
    static void updateTotalShredValueWithFileCount(quint64 fileCount, quint64 dataSize);

private:
    const ItemSizeSnapshot launched_;
    std::atomic<quint64> files_{0};
    std::atomic<quint64> bytes_{0};
};

} // namespace tolvex
