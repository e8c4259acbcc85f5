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
class RunCounters;
class ShredLists;
class ShredTasks;
class ShredZoneControls;
class Task;
class ZoneLooks;

// Shred runs: one run per method on the global queue, each through that method's runner, which
// launches the helper `tolx` once per share of its paths and follows its output. The argument
// lists are ShredArguments', the helper's lines HelperMessage's, the counting RunCounters'.
//
// Destroying a ShredRuns (main thread) terminates the helpers still running, waits for the runs'
// threads, and drops the work they posted to the main queue that has not run yet: nothing reaches
// the window interfaces after their owner has let them go.
class ShredRuns {
public:
    // The helper reads a launch's paths on standard input, so a share is bounded only by the
    // size snapshot it keeps, and every launch ends with the helper syncing the file system,
    // which a finely cut list pays for again and again.
    static constexpr qsizetype kPathsPerLaunch = 100000;

    ShredRuns(ShredLists& lists, ShredTasks& tasks, ShredZoneControls& controls, ZoneLooks& looks,
              HudAlert& hud, AppTermination& application, QString helperPath = defaultHelperPath(),
              qsizetype pathsPerLaunch = kPathsPerLaunch);
    ~ShredRuns();
    ShredRuns(const ShredRuns&) = delete;
    ShredRuns& operator=(const ShredRuns&) = delete;

    // `tolx`, where the program's helpers live.
    static QString defaultHelperPath();

    // The helper's argument list per method, holding only paths that exist now.
    static ShredArgumentsDic shredArgumentsForPathDic(const ShredEntryDics& records);

    // Starts one run per method that has something to shred, each on the global queue through
    // the method's runner. Main thread.
    void shredFiles(const ShredEntryDics& records, bool isTrash);

    // The runners, one per method, called on a worker thread with `params` (the method's flag,
    // then its paths) and every record of the press. Each launches the helper once per
    // pathsPerLaunch of the paths, one launch after the other, paints the method's zone from the
    // helper's output, and returns once the last launch has exited. The run ends with one
    // outcome: the completion notice only when every launch destroyed all it was given. The
    // result becomes ready when the run's last completion work has run on the main queue; it is
    // invalid when the last launch never started (the list was busy, the run was cancelled
    // between launches, or the helper could not be launched). isTrash marks a Secure Empty Trash
    // run.
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
    struct Lifetime;

    // `block` made to do nothing once this ShredRuns is gone. For work posted to the main queue.
    MainQueue::Block whileAlive(MainQueue::Block block) const;

    std::shared_future<void> runShreddingPass(qint64 listId, const QStringList& params,
                                              const ShredEntryDics& records, bool isTrash);
    std::shared_future<void> runChunk(const std::shared_ptr<Run>& run, const Chunk& chunk);
    void endChunk(const std::shared_ptr<Run>& run, const Chunk& chunk, Task& ended,
                  const RunCounters& counters);
    void readMessage(const Run& run, RunCounters& counters, const QByteArray& line);
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
    const qsizetype pathsPerLaunch_;
    const std::shared_ptr<Lifetime> lifetime_;
};

} // namespace tolvex
