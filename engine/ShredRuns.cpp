#include "engine/ShredRuns.h"

#include "engine/AppTermination.h"
#include "engine/DropViewInfoDic.h"
#include "engine/HudAlert.h"
#include "engine/ItemSizeSnapshot.h"
#include "engine/ListId.h"
#include "platform/NativePath.h"
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
#include "platform/Task.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>

namespace tolvex {

namespace {

const QString kRemoving = QStringLiteral("removing");
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

std::optional<QString> decodedUtf8(const QByteArray& message)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(message);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
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

struct ShredRuns::RunCounters {
    explicit RunCounters(const QStringList& paths) : launched(paths) {}

    const ItemSizeSnapshot launched;
    std::atomic<quint64> files{0};
    std::atomic<quint64> bytes{0};
};

ShredRuns::ShredRuns(ShredLists& lists, ShredTasks& tasks, ShredZoneControls& controls,
                     ZoneLooks& looks, HudAlert& hud, AppTermination& application,
                     QString helperPath)
    : lists_(lists), tasks_(tasks), controls_(controls), looks_(looks), hud_(hud),
      application_(application), helperPath_(std::move(helperPath)),
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
    std::array<QStringList, kListIds.size()> paths;
    for (const ShredEntryDic& record : records) {
        const auto index = listIndex(methodOf(record));
        if (index && Utils::itemExistsAtPath(record.filePath)) {
            paths[*index].append(record.filePath);
        }
    }
    ShredArgumentsDic arguments;
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        if (!paths[i].isEmpty()) {
            arguments.*kParamsOf[i] = QStringList{kMethodFlags[i]} + paths[i];
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
    const ShredArgumentsDic arguments = shredArgumentsForPathDic(records);
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        const qint64 listId = kListIds[i];
        if (const std::optional<QStringList>& params = arguments.*kParamsOf[i]) {
            lifetime_->runStarted();
            GlobalQueue::dispatchAsync(
                [this, lifetime = lifetime_, listId, params = *params, records, isTrash] {
                    runChunks(listId, params, records, isTrash);
                    lifetime->runEnded();
                });
        }
    }
}

// The record count of all methods together decides the chunks. Each chunk launches the helper
// with the method's whole argument list; its records drive the progress total, the leftover
// clean-up and the pruning. A chunk's completion work runs before the next chunk starts.
void ShredRuns::runChunks(qint64 listId, const QStringList& params, const ShredEntryDics& records,
                          bool isTrash)
{
    if (records.size() <= kChunkSize) {
        runShreddingPass(listId, params, records, isTrash, {});
        return;
    }
    for (qsizetype start = 0; start < records.size(); start += kChunkSize) {
        const RunChunk chunk{start == 0, start + kChunkSize >= records.size()};
        const std::shared_future<void> completion =
            runShreddingPass(listId, params, records.mid(start, kChunkSize), isTrash, chunk);
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
                                                                bool isTrash, RunChunk chunk)
{
    return runShreddingPass(1, params, fileDicsArr, isTrash, chunk);
}

std::shared_future<void> ShredRuns::runShreddingPass7WithParams(const QStringList& params,
                                                                const ShredEntryDics& fileDicsArr,
                                                                bool isTrash, RunChunk chunk)
{
    return runShreddingPass(7, params, fileDicsArr, isTrash, chunk);
}

std::shared_future<void> ShredRuns::runShreddingPass35WithParams(const QStringList& params,
                                                                 const ShredEntryDics& fileDicsArr,
                                                                 bool isTrash, RunChunk chunk)
{
    return runShreddingPass(35, params, fileDicsArr, isTrash, chunk);
}

std::shared_future<void> ShredRuns::runShreddingPass(qint64 listId, const QStringList& params,
                                                     const ShredEntryDics& records, bool isTrash,
                                                     RunChunk chunk)
{
    lifetime_->runStarted();
    const auto ended = qScopeGuard([lifetime = lifetime_] { lifetime->runEnded(); });
    auto task = std::make_shared<Task>(helperPath_, params);
    {
        // Nothing starts once the destructor has begun to terminate the running helpers.
        std::lock_guard lock(lifetime_->mutex);
        if (!lifetime_->alive || !tasks_.beginChunk(listId, task, chunk.isFirst)) {
            return {};
        }
    }
    const QStringList paths = filePathsOf(records);
    auto counters = std::make_shared<RunCounters>(paths);
    if (lists_.totalFilesPassCountNum(listId) == 0) {
        lists_.setTotalFilesPassCountNum(listId, Utils::totalFilesToShredCount(paths));
    }
    task->setReadabilityHandler([this, listId, counters](const QByteArray& message) {
        readMessage(listId, counters, message);
    });
    auto completed = std::make_shared<std::promise<void>>();
    std::shared_future<void> completion = completed->get_future().share();
    const bool anotherChunkFollows = !chunk.isLast;
    task->setTerminationHandler(
        [this, listId, counters, records, isTrash, anotherChunkFollows, completed](Task& ended) {
            updateTotalShredValueWithFileCount(counters->files.load(), counters->bytes.load());
            const bool success = ended.terminationReason() == Task::TerminationReason::Exit &&
                                 ended.terminationStatus() == 0;
            if (success) {
                qInfo("Finished");
                for (const ShredEntryDic& record : records) {
                    if (record.passIndx == listId && Utils::itemExistsAtPath(record.filePath)) {
                        std::error_code error;
                        std::filesystem::remove_all(toNativePath(record.filePath), error);
                        if (error) {
                            qWarning("failed to delete file > %s", error.message().c_str());
                        }
                    }
                }
            } else {
                qInfo("Terminated");
            }
            if (isTrash) {
                TrashFolders::removeTrashInfoOfDestroyedItems(filePathsOf(records));
            }
            const MainQueue::Block complete =
                whileAlive([this, listId, records, isTrash, success, anotherChunkFollows] {
                    if (success) {
                        completeSuccess(listId, isTrash, anotherChunkFollows);
                    } else {
                        completeFailure(listId, records, anotherChunkFollows);
                    }
                });
            MainQueue::post([complete, completed] {
                complete();
                completed->set_value();
            });
        });
    QString error;
    const bool launched = task->launch(&error);
    const bool cancelledWhileLaunching = tasks_.launchAttempted(listId);
    if (!launched) {
        qWarning("could not launch %s: %s", qUtf8Printable(helperPath_), qUtf8Printable(error));
        MainQueue::post(whileAlive([this, listId] {
            hud_.alertWithWindow(HudAlertType::error, kHelperNotStartedMessage);
            tasks_.endChunk(listId, false);
        }));
        return {};
    }
    if (cancelledWhileLaunching) {
        task->terminate();
    }
    task->waitUntilExit();
    return completion;
}

void ShredRuns::readMessage(qint64 listId, const std::shared_ptr<RunCounters>& counters,
                            const QByteArray& message)
{
    const auto readText = decodedUtf8(message);
    if (!readText) {
        return;
    }
    const QString& text = *readText;
    if (text.startsWith(kRemoving)) {
        MainQueue::post(whileAlive([this, listId, text] { showCurrentItem(listId, text); }));
        countItem(listId, *counters, text.mid(kRemoving.size()).trimmed());
    }
    // K is taken with the message, so the ring shows each message's own progress however far
    // the main queue lags behind the helper.
    const quint64 filesDone = counters->files.load();
    if (text.contains(u'%')) {
        if (const auto fraction = parsePercentage(text)) {
            MainQueue::post(whileAlive(
                [this, listId, filesDone, p = *fraction] { showProgress(listId, filesDone, p); }));
        }
    }
    if (text.trimmed().endsWith(kDone)) {
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

void ShredRuns::showCurrentItem(qint64 listId, const QString& readText)
{
    controls_.hideClearRevealView(listId);
    controls_.setPassMainTF(listId, kShreddingLabelFontSize, kShreddingLabel);
    controls_.setPassDescrTF(listId, lastPathComponent(readText));
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

// A Secure Empty Trash run shredded none of the list's entries, so the zone returns to the look
// its list calls for instead of being emptied.
void ShredRuns::completeSuccess(qint64 listId, bool isTrash, bool anotherChunkFollows)
{
    hud_.alertWithWindow(HudAlertType::success, isTrash && listId == 1
                                                    ? kTrashCompleteMessage
                                                    : passCompleteMessage(listId));
    if (isTrash) {
        looks_.dropViewExited({listId, QVariant(), true});
    } else {
        looks_.resetDefStateForPassViewWithTag(listId);
    }
    tasks_.endChunk(listId, anotherChunkFollows);
    if (!anotherChunkFollows && Utils::shouldQuitOnAllComplete() && !tasks_.isAnyShredding()) {
        MainQueue::postAfter(0, whileAlive([this] { application_.terminate(); }));
    }
}

void ShredRuns::completeFailure(qint64 listId, const ShredEntryDics& records,
                                bool anotherChunkFollows)
{
    ShredEntryDics vanished;
    for (const ShredEntryDic& record : records) {
        if (!Utils::itemExistsAtPath(record.filePath)) {
            vanished.append(record);
        }
    }
    lists_.refreshAllShredPassesWithDicPaths(vanished, listId);
    tasks_.endChunk(listId, anotherChunkFollows);
}

} // namespace tolvex
