#include "engine/ShredRuns.h"

#include "engine/AppTermination.h"
#include "engine/DropViewInfoDic.h"
#include "engine/EngineLog.h"
#include "engine/HudAlert.h"
#include "engine/ItemSizeSnapshot.h"
#include "engine/ListId.h"
#include "engine/PathComponents.h"
#include "engine/PercentParsing.h"
#include "engine/ShredLists.h"
#include "engine/ShredTasks.h"
#include "engine/ShredZoneControls.h"
#include "engine/TotalShredInfoDic.h"
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
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tolvex {

namespace {

constexpr QByteArrayView kRemoving = "removing ";
// The helper reads its paths from standard input, so no list is too long for a command line.
const QString kPathsOnInputFlag = QStringLiteral("-z");
const QString kDone = QStringLiteral("done");
const QString kNoFilesMessage =
    QStringLiteral("\n No files to shred \nPlease add some files to begin");
const QString kTrashCompleteMessage = QStringLiteral("Secure Empty Trash is compete!");
const QString kHelperNotStartedMessage =
    QStringLiteral("The shredding helper could not be started.\nNothing was shredded.");
const QString kShreddingLabel = QStringLiteral("..Shredding..");
const QString kCancelShredImage = QStringLiteral("cancelShred");
constexpr double kShreddingLabelFontSize = 21.0;

// Per method, in kListIds order: the helper's flag and where its argument list is kept.
const std::array<QString, kListIds.size()> kMethodFlags{
    QStringLiteral("-frsv"), QStringLiteral("-frmv"), QStringLiteral("-frv")};
constexpr std::array<std::optional<QStringList> ShredArgumentsDic::*, kListIds.size()> kParamsOf{
    &ShredArgumentsDic::params1, &ShredArgumentsDic::params7, &ShredArgumentsDic::params35};

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

// The method of a record: 0 or a missing "passIndx" is 1-pass; other values name no method.
qint64 methodOf(const ShredEntryDic& record)
{
    const qint64 pass = record.passIndx.value_or(0);
    return pass == 0 ? 1 : pass;
}

QStringList filePathsOf(const ShredEntryDics& records)
{
    QStringList paths;
    paths.reserve(records.size());
    for (const ShredEntryDic& record : records) {
        paths.append(record.filePath);
    }
    return paths;
}

// Per method, in kListIds order: its records whose item exists now, in record order.
std::array<ShredEntryDics, kListIds.size()> existingRecordsByMethod(const ShredEntryDics& records)
{
    std::array<ShredEntryDics, kListIds.size()> byMethod;
    for (const ShredEntryDic& record : records) {
        const auto index = listIndex(methodOf(record));
        if (index && Utils::itemExistsAtPath(record.filePath)) {
            byMethod[*index].append(record);
        }
    }
    return byMethod;
}

// Each path's bytes ended by a NUL byte, the one byte no path holds.
QByteArray pathRecords(const QStringList& paths)
{
    QByteArray records;
    for (const QString& path : paths) {
        records += encodeNativePath(path);
        records += '\0';
    }
    return records;
}

// The helper writes each backslash of a path doubled and each line feed as a backslash and the
// letter n, so that one path is one line.
QByteArray unescapedPath(QByteArrayView escaped)
{
    QByteArray path;
    path.reserve(escaped.size());
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const char next = i + 1 < escaped.size() ? escaped[i + 1] : '\0';
        if (escaped[i] == '\\' && (next == '\\' || next == 'n')) {
            path += next == 'n' ? '\n' : '\\';
            ++i;
        } else {
            path += escaped[i];
        }
    }
    return path;
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
    // Items counted by the launches before the current one, so the ring goes on from there.
    std::atomic<quint64> filesBefore{0};
    std::atomic<bool> failed{false};
    // Items the helper destroyed that were back at their path once it had ended.
    std::atomic<quint64> reappeared{0};
};

// One launch of the helper: its share of the run's paths and of the method's own records.
struct ShredRuns::Chunk {
    QStringList paths;
    ShredEntryDics records;
    bool isFirst = true;
    bool isLast = true;
};

struct ShredRuns::RunCounters {
    explicit RunCounters(const QStringList& paths) : launched(paths) {}

    const ItemSizeSnapshot launched;
    std::atomic<quint64> files{0};
    std::atomic<quint64> bytes{0};
};

ShredRuns::ShredRuns(ShredLists& lists, ShredTasks& tasks, ShredZoneControls& controls,
                     ZoneLooks& looks, HudAlert& hud, AppTermination& application,
                     QString helperPath, qsizetype chunkSize)
    : lists_(lists), tasks_(tasks), controls_(controls), looks_(looks), hud_(hud),
      application_(application), helperPath_(std::move(helperPath)), chunkSize_(chunkSize),
      lifetime_(std::make_shared<Lifetime>())
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
    const auto byMethod = existingRecordsByMethod(records);
    ShredArgumentsDic arguments;
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        if (!byMethod[i].isEmpty()) {
            arguments.*kParamsOf[i] = QStringList{kMethodFlags[i]} + filePathsOf(byMethod[i]);
        }
    }
    return arguments;
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
    const auto byMethod = existingRecordsByMethod(records);
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        const ShredEntryDics& own = byMethod[i];
        if (own.isEmpty()) {
            continue;
        }
        auto run =
            std::make_shared<Run>(kListIds[i], isTrash, kMethodFlags[i], filePathsOf(own), records);
        lifetime_->runStarted();
        GlobalQueue::dispatchAsync([this, lifetime = lifetime_, run, own] {
            runChunks(run, own);
            lifetime->runEnded();
        });
    }
}

// Each launch is given only its own share of the method's items. A launch's completion work runs
// before the next one starts; the run ends with its last launch, or with the first that is
// cancelled or cannot start.
void ShredRuns::runChunks(const std::shared_ptr<Run>& run, const ShredEntryDics& ownRecords)
{
    const qsizetype count = run->paths.size();
    for (qsizetype start = 0; start < count; start += chunkSize_) {
        const Chunk chunk{run->paths.mid(start, chunkSize_), ownRecords.mid(start, chunkSize_),
                          start == 0, start + chunkSize_ >= count};
        const std::shared_future<void> completion = runChunk(run, chunk);
        if (!completion.valid()) {
            return;
        }
        if (!chunk.isLast) {
            lifetime_->waitForCompletion(completion);
        }
    }
}

void ShredRuns::updateTotalShredValueWithFileCount(quint64 fileCount, quint64 dataSize)
{
    TotalShredInfoDic delta;
    delta.shredFilesCount = fileCount;
    delta.shredDataSize = dataSize;
    Utils::overWriteTotalShredInfoDic(delta);
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

std::shared_future<void> ShredRuns::runShreddingPass(qint64 listId, const QStringList& params,
                                                     const ShredEntryDics& records, bool isTrash)
{
    const QStringList paths = params.mid(1);
    const auto run = std::make_shared<Run>(listId, isTrash, params.value(0), paths, records);
    return runChunk(run, Chunk{paths, records});
}

std::shared_future<void> ShredRuns::runChunk(const std::shared_ptr<Run>& run, const Chunk& chunk)
{
    lifetime_->runStarted();
    const auto ended = qScopeGuard([lifetime = lifetime_] { lifetime->runEnded(); });
    const qint64 listId = run->listId;
    auto task = std::make_shared<Task>(helperPath_, QStringList{run->flag, kPathsOnInputFlag});
    task->setStandardInput(pathRecords(chunk.paths));
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
    const quint64 files = counters.files.load();
    updateTotalShredValueWithFileCount(files, counters.bytes.load());
    run->filesBefore += files;
    const bool success = ended.terminationReason() == Task::TerminationReason::Exit &&
                         ended.terminationStatus() == 0;
    if (success) {
        qCInfo(lcEngine, "Finished");
        for (const ShredEntryDic& record : chunk.records) {
            if (record.passIndx == run->listId && Utils::itemExistsAtPath(record.filePath)) {
                qCWarning(lcEngine, "left in place, it reappeared during the run > %s",
                          qUtf8Printable(readablePath(record.filePath)));
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

void ShredRuns::readMessage(const Run& run, RunCounters& counters, const QByteArray& message)
{
    const qint64 listId = run.listId;
    if (message.startsWith(kRemoving)) {
        const QString path =
            decodeNativePath(unescapedPath(QByteArrayView(message).sliced(kRemoving.size())));
        MainQueue::post(whileAlive([this, listId, path] { showCurrentItem(listId, path); }));
        countItem(listId, counters, path);
        return;
    }
    // K is taken with the message, so the ring shows each message's own progress however far
    // the main queue lags behind the helper.
    const quint64 filesDone = run.filesBefore.load() + counters.files.load();
    const QString text = QString::fromUtf8(message);
    if (const auto fraction = parsePercentage(text)) {
        MainQueue::post(whileAlive(
            [this, listId, filesDone, p = *fraction] { showProgress(listId, filesDone, p); }));
    } else if (text.trimmed().endsWith(kDone)) {
        MainQueue::post(
            whileAlive([this, listId, filesDone] { showProgress(listId, filesDone, 1.0); }));
    }
}

// An item the run held at launch counts with its size from then, unless it is a folder. Any
// other path is judged as it is now: for 1-pass anything but an existing folder counts (a
// missing path with 0 bytes), for the other methods only an existing item that is not a folder.
void ShredRuns::countItem(qint64 listId, RunCounters& counters, const QString& path)
{
    const ItemSizeSnapshot::Entry launched = counters.launched.entry(path);
    bool counts = false;
    quint64 size = 0;
    switch (launched.kind) {
    case ItemSizeSnapshot::Kind::Folder:
        break;
    case ItemSizeSnapshot::Kind::Item:
        counts = true;
        size = launched.size;
        break;
    case ItemSizeSnapshot::Kind::Unknown: {
        const bool isFolder = Utils::isThisAFolderHere(path);
        counts = listId == 1 ? !isFolder : Utils::itemExistsAtPath(path) && !isFolder;
        size = counts ? Utils::fileSizeAtPath(path) : 0;
        break;
    }
    }
    if (counts) {
        counters.bytes += size;
        counters.files += 1;
    }
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
