#include "volumes/EraseFreeSpaceRunner.h"

#include "platform/HelperPrograms.h"
#include "platform/MainQueue.h"
#include "platform/Task.h"
#include "volumes/VolumesLog.h"

#include <mutex>

namespace tolvex {

namespace {

const QString kReformat = QStringLiteral("reformat");

// The numbers the log has always shown for the two ways a helper can end.
int reasonNumber(Task::TerminationReason reason)
{
    return reason == Task::TerminationReason::Exit ? 1 : 2;
}

QString description(const Task& task)
{
    return QStringLiteral("<Task: %1>").arg(quintptr(&task), 0, 16);
}

} // namespace

// The task handle, shared with the clearing blocks so that a block outliving the runner finds
// nothing to clear.
struct EraseFreeSpaceRunner::Handle {
    std::mutex mutex;
    std::shared_ptr<Task> task;
};

EraseFreeSpaceRunner::EraseFreeSpaceRunner(QString helperPath)
    : helperPath_(std::move(helperPath)), handle_(std::make_shared<Handle>())
{}

EraseFreeSpaceRunner::~EraseFreeSpaceRunner() = default;

QString EraseFreeSpaceRunner::defaultHelperPath()
{
    return helperProgramPath(QStringLiteral("tolx-dm"));
}

std::shared_ptr<Task> EraseFreeSpaceRunner::eraseFrSpTask() const
{
    std::lock_guard lock(handle_->mutex);
    return handle_->task;
}

void EraseFreeSpaceRunner::runEraseFreeSpaceTask(const VolDic& volume)
{
    std::shared_ptr<Task> task;
    {
        // Checked and launched under one lock, so two callers cannot both start a helper.
        std::lock_guard lock(handle_->mutex);
        if (handle_->task && handle_->task->isRunning())
            return;
        const QStringList arguments{kReformat, volume.dskPath};
        task = std::make_shared<Task>(helperPath_, arguments);
        handle_->task = task;
        qCInfo(lcVolumes).noquote()
            << QStringLiteral("eraseFrSpTask> %1, eraseFrSpTask is running> %2")
                   .arg(description(*task))
                   .arg(int(task->isRunning()));
        qCInfo(lcVolumes).noquote()
            << QStringLiteral("params>(%1)").arg(arguments.join(QStringLiteral(", ")));

        task->setErrorReadabilityHandler([](const QByteArray& message) {
            qCInfo(lcVolumes).noquote()
                << QStringLiteral("error LOG >%1").arg(QString::fromUtf8(message));
        });
        task->setReadabilityHandler([](const QByteArray& message) {
            qCInfo(lcVolumes).noquote()
                << QStringLiteral("respStr > %1").arg(QString::fromUtf8(message));
        });
        std::weak_ptr<Handle> weakHandle = handle_;
        std::weak_ptr<Task> ended = task;
        task->setTerminationHandler([weakHandle, ended](Task& finished) {
            qCInfo(lcVolumes).noquote() << QStringLiteral("terminationStatus]> %1, reason %2")
                                               .arg(finished.terminationStatus())
                                               .arg(reasonNumber(finished.terminationReason()));
            qCInfo(lcVolumes, finished.terminationStatus() != 0 ? "Terminated" : "Finished");
            MainQueue::post([weakHandle, ended] {
                const std::shared_ptr<Handle> handle = weakHandle.lock();
                if (!handle)
                    return;
                std::lock_guard lock(handle->mutex);
                // A later run may hold the handle by now; it is not this block's to clear.
                if (handle->task == ended.lock())
                    handle->task.reset();
            });
        });
        QString error;
        if (!task->launch(&error)) {
            qCWarning(lcVolumes).noquote() << error;
            handle_->task.reset();
            return;
        }
    }
    task->waitUntilExit();
}

} // namespace tolvex
