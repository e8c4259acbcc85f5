#include "engine/ShredRuns.h"

#include "engine/AppTermination.h"
#include "engine/DropViewInfoDic.h"
#include "engine/EngineLog.h"
#include "engine/HelperMessage.h"
#include "engine/HudAlert.h"
#include "engine/ListId.h"
#include "engine/PathComponents.h"
#include "engine/RunCounters.h"
#include "engine/ShredArguments.h"
#include "engine/ShredLists.h"
#include "engine/ShredTasks.h"
#include "engine/ShredZoneControls.h"
#include "engine/TrashFolders.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsSettings.h"
#include "engine/ZoneLooks.h"
#include "platform/GlobalQueue.h"
#include "platform/HelperPrograms.h"
#include "platform/MainQueue.h"
#include "platform/NativePath.h"
#include "platform/Task.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSet>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tolvex {

namespace {

const QString kNoFilesMessage =
    QStringLiteral("\n No files to shred \nPlease add some files to begin");
const QString kTrashCompleteMessage = QStringLiteral("Secure Empty Trash is compete!");
const QString kHelperNotStartedMessage =
    QStringLiteral("The shredding helper could not be started.\nNothing was shredded.");
const QString kShreddingLabel = QStringLiteral("..Shredding..");
const QString kCancelShredImage = QStringLiteral("cancelShred");
constexpr double kShreddingLabelFontSize = 21.0;

QString reappearedMessage(quint64 count)
{
    return count == 1 ? QStringLiteral("An item reappeared during shredding.\nIt was left in "
                                       "place, not shredded.")
                      : QStringLiteral("%1 items reappeared during shredding.\nThey were left "
                                       "in place, not shredded.")
                            .arg(count);
}

QString passCompleteMessage(qint64 listId)
{
    return QStringLiteral("%1-pass shredding is complete!").arg(listId);
}

} // namespace

// What the runs' threads and their main-queue work share with the ShredRuns: whether it still
// exists, and how many runs still use it from their threads.
struct ShredRuns::Lifetime {
    std::mutex mutex;
    std::condition_variable runsEnded;
    bool alive = true;
    int runs = 0;

    bool isAlive()
    {
        std::lock_guard lock(mutex);
        return alive;
    }
    void runStarted()
    {
        std::lock_guard lock(mutex);
        ++runs;
    }
    void runEnded()
    {
        {
            std::lock_guard lock(mutex);
            --runs;
        }
        runsEnded.notify_all();
    }

    // Waits for a chunk's completion work on the main queue; gives up when the ShredRuns or the
    // application is going away, since then that work never runs.
    void waitForCompletion(const std::shared_future<void>& completion)
    {
        using namespace std::chrono_literals;
        while (completion.wait_for(50ms) != std::future_status::ready) {
            if (!isAlive() || !QCoreApplication::instance() || QCoreApplication::closingDown()) {
                return;
            }
        }
    }
};

// One method's run for one press: what the helper is given, the records a failed run prunes its
// lists by, and how its launches have gone so far.
struct ShredRuns::Run {
    Run(qint64 id, bool trash, QString methodFlag, QStringList methodPaths,
        ShredEntryDics allRecords)
        : listId(id), isTrash(trash), flag(std::move(methodFlag)), paths(std::move(methodPaths)),
          records(std::move(allRecords))
    {}

    const qint64 listId;
    const bool isTrash;
    const QString flag;
    const QStringList paths;
    const ShredEntryDics records;
    // The paths of the records that are the method's own ("passIndx" is its list id).
    const QSet<QString> ownPaths = [this] {
        QSet<QString> own;
        for (const ShredEntryDic& record : records) {
            if (record.passIndx == listId) {
                own.insert(record.filePath);
            }
        }
        return own;
    }();
    // Items counted by the launches before the current one, so the ring goes on from there.
    std::atomic<quint64> filesBefore{0};
    std::atomic<bool> failed{false};
    // Items the helper destroyed that were back at their path once it had ended.
    std::atomic<quint64> reappeared{0};
};

// One launch of the helper: its share of the run's paths.
struct ShredRuns::Chunk {
    QStringList paths;
    bool isFirst = true;
    bool isLast = true;
};

ShredRuns::ShredRuns(ShredLists& lists, ShredTasks& tasks, ShredZoneControls& controls,
                     ZoneLooks& looks, HudAlert& hud, AppTermination& application,
                     QString helperPath, qsizetype pathsPerLaunch)
    : lists_(lists), tasks_(tasks), controls_(controls), looks_(looks), hud_(hud),
      application_(application), helperPath_(std::move(helperPath)),
      pathsPerLaunch_(pathsPerLaunch), lifetime_(std::make_shared<Lifetime>())
{}

ShredRuns::~ShredRuns()
{
    {
        std::lock_guard lock(lifetime_->mutex);
        lifetime_->alive = false;
    }
    for (const qint64 listId : kListIds) {
        tasks_.terminate(listId);
    }
    {
        std::unique_lock lock(lifetime_->mutex);
        lifetime_->runsEnded.wait(lock, [this] { return lifetime_->runs == 0; });
    }
    // The completion work that would have let go of the ended helpers never runs.
    for (const qint64 listId : kListIds) {
        tasks_.endChunk(listId, false);
    }
}

MainQueue::Block ShredRuns::whileAlive(MainQueue::Block block) const
{
    return [lifetime = lifetime_, block = std::move(block)] {
        if (lifetime->isAlive()) {
            block();
        }
    };
}

QString ShredRuns::defaultHelperPath()
{
    return helperProgramPath(QStringLiteral("tolx"));
}

ShredArgumentsDic ShredRuns::shredArgumentsForPathDic(const ShredEntryDics& records)
{
    return ShredArguments::forRecords(records);
}

void ShredRuns::shredFiles(const ShredEntryDics& records, bool isTrash)
{
    const auto listIsEmpty = [this](qint64 listId) {
        return lists_.filePathsArr(listId).isEmpty();
    };
    if (records.isEmpty() && std::all_of(kListIds.begin(), kListIds.end(), listIsEmpty)) {
        hud_.alertWithWindow(HudAlertType::information, kNoFilesMessage);
        return;
    }
    using Runner =
        std::shared_future<void> (ShredRuns::*)(const QStringList&, const ShredEntryDics&, bool);
    const ShredArgumentsDic arguments = shredArgumentsForPathDic(records);
    const std::array<std::pair<const std::optional<QStringList>&, Runner>, kListIds.size()> methods{
        {{arguments.params1, &ShredRuns::runShreddingPass1WithParams},
         {arguments.params7, &ShredRuns::runShreddingPass7WithParams},
         {arguments.params35, &ShredRuns::runShreddingPass35WithParams}}};
    for (const auto& [params, runner] : methods) {
        if (!params) {
            continue;
        }
        lifetime_->runStarted();
        GlobalQueue::dispatchAsync(
            [this, lifetime = lifetime_, runner, params = *params, records, isTrash] {
                (this->*runner)(params, records, isTrash);
                lifetime->runEnded();
            });
    }
}

std::shared_future<void> ShredRuns::runShreddingPass1WithParams(const QStringList& params,
                                                                const ShredEntryDics& fileDicsArr,
                                                                bool isTrash)
{
    return runShreddingPass(1, params, fileDicsArr, isTrash);
}

std::shared_future<void> ShredRuns::runShreddingPass7WithParams(const QStringList& params,
                                                                const ShredEntryDics& fileDicsArr,
                                                                bool isTrash)
{
    return runShreddingPass(7, params, fileDicsArr, isTrash);
}

std::shared_future<void> ShredRuns::runShreddingPass35WithParams(const QStringList& params,
                                                                 const ShredEntryDics& fileDicsArr,
                                                                 bool isTrash)
{
    return runShreddingPass(35, params, fileDicsArr, isTrash);
}

// Each launch is given only its own share of the paths. A launch's completion work runs before
// the next one starts; the run ends with its last launch, or with the first that is cancelled or
// cannot start.
std::shared_future<void> ShredRuns::runShreddingPass(qint64 listId, const QStringList& params,
                                                     const ShredEntryDics& records, bool isTrash)
{
    const QStringList paths = params.mid(1);
    const auto run = std::make_shared<Run>(listId, isTrash, params.value(0), paths, records);
    std::shared_future<void> completion;
    for (qsizetype start = 0; start < paths.size(); start += pathsPerLaunch_) {
        if (completion.valid()) {
            lifetime_->waitForCompletion(completion);
        }
        completion = runChunk(run, Chunk{paths.mid(start, pathsPerLaunch_), start == 0,
                                         start + pathsPerLaunch_ >= paths.size()});
        if (!completion.valid()) {
            break;
        }
    }
    return completion;
}

std::shared_future<void> ShredRuns::runChunk(const std::shared_ptr<Run>& run, const Chunk& chunk)
{
    lifetime_->runStarted();
    const auto ended = qScopeGuard([lifetime = lifetime_] { lifetime->runEnded(); });
    const qint64 listId = run->listId;
    auto task = std::make_shared<Task>(helperPath_,
                                       QStringList{run->flag, ShredArguments::pathsOnInputFlag()});
    task->setStandardInput(ShredArguments::pathsOnInput(chunk.paths));
    {
        // Nothing starts once the destructor has begun to terminate the running helpers.
        std::lock_guard lock(lifetime_->mutex);
        if (!lifetime_->alive || !tasks_.beginChunk(listId, task, chunk.isFirst)) {
            if (!chunk.isFirst) {
                // Cancelled between two launches: the run ends as a cancelled launch would.
                run->failed = true;
                MainQueue::post(whileAlive([this, run] { completeRun(*run); }));
            }
            return {};
        }
    }
    auto counters = std::make_shared<RunCounters>(chunk.paths);
    if (chunk.isFirst && lists_.totalFilesPassCountNum(listId) == 0) {
        lists_.setTotalFilesPassCountNum(listId, Utils::totalFilesToShredCount(run->paths));
    }
    task->setReadabilityHandler([this, run, counters](const QByteArray& message) {
        readMessage(*run, *counters, message);
    });
    auto completed = std::make_shared<std::promise<void>>();
    std::shared_future<void> completion = completed->get_future().share();
    task->setTerminationHandler([this, run, chunk, counters, completed](Task& ended) {
        endChunk(run, chunk, ended, *counters);
        MainQueue::post([completed] { completed->set_value(); });
    });
    QString error;
    const bool launched = task->launch(&error);
    const bool cancelledWhileLaunching = tasks_.launchAttempted(listId);
    if (!launched) {
        qCWarning(lcEngine, "could not launch %s: %s", qUtf8Printable(helperPath_),
                  qUtf8Printable(error));
        run->failed = true;
        MainQueue::post(whileAlive([this, run, isFirst = chunk.isFirst] {
            hud_.alertWithWindow(HudAlertType::error, kHelperNotStartedMessage);
            tasks_.endChunk(run->listId, false);
            if (!isFirst) {
                completeRun(*run);
            }
        }));
        return {};
    }
    if (cancelledWhileLaunching) {
        task->terminate();
    }
    task->waitUntilExit();
    return completion;
}

// On the task's thread once a launch has ended: the totals whatever the end, what reappeared
// after a launch that destroyed everything, then the main queue's part, which lets the next
// launch begin or ends the run.
void ShredRuns::endChunk(const std::shared_ptr<Run>& run, const Chunk& chunk, Task& ended,
                         const RunCounters& counters)
{
    const quint64 files = counters.files();
    RunCounters::updateTotalShredValueWithFileCount(files, counters.bytes());
    run->filesBefore += files;
    const bool success = ended.terminationReason() == Task::TerminationReason::Exit &&
                         ended.terminationStatus() == 0;
    if (success) {
        qCInfo(lcEngine, "Finished");
        for (const QString& path : chunk.paths) {
            if (run->ownPaths.contains(path) && Utils::itemExistsAtPath(path)) {
                qCWarning(lcEngine, "left in place, it reappeared during the run > %s",
                          qUtf8Printable(readablePath(path)));
                ++run->reappeared;
            }
        }
    } else {
        qCInfo(lcEngine, "Terminated");
        run->failed = true;
    }
    if (run->isTrash) {
        TrashFolders::removeTrashInfoOfDestroyedItems(chunk.paths);
    }
    MainQueue::post(whileAlive([this, run, anotherChunkFollows = !chunk.isLast] {
        if (!tasks_.endChunk(run->listId, anotherChunkFollows)) {
            completeRun(*run);
        }
    }));
}

void ShredRuns::readMessage(const Run& run, RunCounters& counters, const QByteArray& line)
{
    const qint64 listId = run.listId;
    const HelperMessage message = HelperMessage::read(line);
    if (message.kind == HelperMessage::Kind::Removing) {
        MainQueue::post(
            whileAlive([this, listId, path = message.path] { showCurrentItem(listId, path); }));
        counters.count(listId, message.path);
        return;
    }
    if (message.kind == HelperMessage::Kind::Other) {
        return;
    }
    // K is taken with the message, so the ring shows each message's own progress however far
    // the main queue lags behind the helper.
    const quint64 filesDone = run.filesBefore.load() + counters.files();
    MainQueue::post(whileAlive(
        [this, listId, filesDone, p = message.fraction] { showProgress(listId, filesDone, p); }));
}

void ShredRuns::showCurrentItem(qint64 listId, const QString& path)
{
    controls_.hideClearRevealView(listId);
    controls_.setPassMainTF(listId, kShreddingLabelFontSize, kShreddingLabel);
    controls_.setPassDescrTF(listId, readablePath(lastPathComponent(path)));
    controls_.setAddNewFilesBtnImage(listId, kCancelShredImage);
}

// (K + p) / T in single precision, K being the items finished before the current one. With
// T = 0 the quotient is not finite and the ring shows full.
void ShredRuns::showProgress(qint64 listId, quint64 filesDone, double itemFraction)
{
    const float finished = filesDone > 0 ? static_cast<float>(filesDone - 1) : 0.0f;
    const float total = static_cast<float>(lists_.totalFilesPassCountNum(listId));
    const float progress = (finished + static_cast<float>(itemFraction)) / total;
    controls_.setPassIndicProgress(listId, progress, true);
}

// Only a run whose every launch destroyed all it was given is complete. A Secure Empty Trash run
// shredded none of the list's entries, so the zone then returns to the look its list calls for
// instead of being emptied. A failed run takes what is gone off the lists. What came back to a
// path while the helper ran is new data the helper never overwrote: removing it plainly would
// leave its bytes on the device, and the path may now lead anywhere. It stays, listed and
// reported.
void ShredRuns::completeRun(const Run& run)
{
    const qint64 listId = run.listId;
    if (!run.failed && run.reappeared > 0) {
        hud_.alertWithWindow(HudAlertType::warning, reappearedMessage(run.reappeared));
    }
    if (run.failed || run.reappeared > 0) {
        ShredEntryDics vanished;
        for (const ShredEntryDic& record : run.records) {
            if (!Utils::itemExistsAtPath(record.filePath)) {
                vanished.append(record);
            }
        }
        lists_.refreshAllShredPassesWithDicPaths(vanished, listId);
        return;
    }
    hud_.alertWithWindow(HudAlertType::success, run.isTrash && listId == 1
                                                    ? kTrashCompleteMessage
                                                    : passCompleteMessage(listId));
    if (run.isTrash) {
        looks_.dropViewExited({listId, QVariant(), true});
    } else {
        looks_.resetDefStateForPassViewWithTag(listId);
    }
    if (Utils::shouldQuitOnAllComplete() && !tasks_.isAnyShredding()) {
        MainQueue::postAfter(0, whileAlive([this] { application_.terminate(); }));
    }
}

} // namespace tolvex
