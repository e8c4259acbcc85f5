#pragma once

#include "engine/ShredArgumentsDic.h"
#include "engine/ShredEntryDic.h"
#include "platform/MainQueue.h"

#include <QString>
#include <future>
#include <memory>

namespace tolvex {

class AppTermination;
class HudAlert;
class ShredLists;
class ShredTasks;
class ShredZoneControls;
class Task;
class ZoneLooks;

// Shred runs: the helper's argument lists, one run per method on the global queue, the runners
// that launch the helper `tolx` and follow its output, and the lifetime totals.
//
// Destroying a ShredRuns (main thread) terminates the helpers still running, waits for the runs'
// threads, and drops the work they posted to the main queue that has not run yet: nothing reaches
// the window interfaces after their owner has let them go.
class ShredRuns {
public:
    // The helper reads a launch's paths on standard input, so a share is bounded only by the
    // size snapshot it keeps, and every launch ends with the helper syncing the file system,
    // which a finely cut list pays for again and again.
    static constexpr qsizetype kChunkSize = 100000;

    ShredRuns(ShredLists& lists, ShredTasks& tasks, ShredZoneControls& controls, ZoneLooks& looks,
              HudAlert& hud, AppTermination& application, QString helperPath = defaultHelperPath(),
              qsizetype chunkSize = kChunkSize);
    ~ShredRuns();
    ShredRuns(const ShredRuns&) = delete;
    ShredRuns& operator=(const ShredRuns&) = delete;

    // `tolx`, where the program's helpers live.
    static QString defaultHelperPath();

    // The helper's argument list per method, holding only paths that exist now.
    static ShredArgumentsDic shredArgumentsForPathDic(const ShredEntryDics& records);

    // Starts one run per method that has something to shred. A method's run launches the helper
    // once per chunkSize of its own items and ends with one outcome: the completion notice only
    // when every launch destroyed all it was given. Main thread.
    void shredFiles(const ShredEntryDics& records, bool isTrash);

    // Adds a finished run to the lifetime totals. Any thread.
    static void updateTotalShredValueWithFileCount(quint64 fileCount, quint64 dataSize);

    // The runners, one per method, called on a worker thread. Each runs the helper once with
    // `params` (the method's flag, then its paths), paints the method's zone from the helper's
    // output, and returns once the helper has exited. The result becomes ready when the run's
    // completion work has run on the main queue; it is invalid when nothing was started (the
    // list was busy or the helper could not be launched). isTrash marks a Secure Empty Trash run.
    std::shared_future<void> runShreddingPass1WithParams(const QStringList& params,
                                                         const ShredEntryDics& fileDicsArr,
                                                         bool isTrash);
    std::shared_future<void> runShreddingPass7WithParams(const QStringList& params,
                                                         const ShredEntryDics& fileDicsArr,
                                                         bool isTrash);
    std::shared_future<void> runShreddingPass35WithParams(const QStringList& params,
                                                          const ShredEntryDics& fileDicsArr,
                                                          bool isTrash);

private:
    struct Run;
    struct Chunk;
    struct RunCounters;
    struct Lifetime;

    // `block` made to do nothing once this ShredRuns is gone. For work posted to the main queue.
    MainQueue::Block whileAlive(MainQueue::Block block) const;

    void runChunks(const std::shared_ptr<Run>& run, const ShredEntryDics& ownRecords);
    std::shared_future<void> runShreddingPass(qint64 listId, const QStringList& params,
                                              const ShredEntryDics& records, bool isTrash);
    std::shared_future<void> runChunk(const std::shared_ptr<Run>& run, const Chunk& chunk);
    void endChunk(const std::shared_ptr<Run>& run, const Chunk& chunk, Task& ended,
                  const RunCounters& counters);
    void readMessage(const Run& run, RunCounters& counters, const QByteArray& message);
    void countItem(qint64 listId, RunCounters& counters, const QString& path);
    void showCurrentItem(qint64 listId, const QString& path);
    void showProgress(qint64 listId, quint64 filesDone, double itemFraction);
    void completeRun(const Run& run);

    ShredLists& lists_;
    ShredTasks& tasks_;
    ShredZoneControls& controls_;
    ZoneLooks& looks_;
    HudAlert& hud_;
    AppTermination& application_;
    const QString helperPath_;
    const qsizetype chunkSize_;
    const std::shared_ptr<Lifetime> lifetime_;
};

} // namespace tolvex
