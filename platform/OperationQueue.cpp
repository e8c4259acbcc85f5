#include "OperationQueue.h"

#include <QThread>
#include <algorithm>

namespace tolvex {

namespace {

std::atomic<quint64> nextOperationId = 1;

int defaultConcurrency()
{
    return QThread::idealThreadCount();
}

} // namespace

Operation::Operation() : id_(nextOperationId++) {}

QString Operation::name() const
{
    std::lock_guard lock(nameMutex_);
    return name_;
}

void Operation::setName(const QString& name)
{
    std::lock_guard lock(nameMutex_);
    name_ = name;
}

OperationQueue::OperationQueue()
{
    pool_.setMaxThreadCount(defaultConcurrency());
}

OperationQueue::~OperationQueue()
{
    pool_.waitForDone();
}

void OperationQueue::addOperation(std::shared_ptr<Operation> operation)
{
    {
        std::lock_guard lock(mutex_);
        operations_.push_back(operation);
    }
    const int priority = operation->queuePriority();
    // The pool takes its waiting work by descending priority, first come first within one.
    pool_.start(
        [this, operation = std::move(operation)] {
            if (!operation->isCancelled())
                operation->main();
            finished(operation.get());
        },
        priority);
}

std::vector<std::shared_ptr<Operation>> OperationQueue::operations() const
{
    std::lock_guard lock(mutex_);
    return operations_;
}

void OperationQueue::cancelAllOperations()
{
    for (const std::shared_ptr<Operation>& operation : operations())
        operation->cancel();
}

void OperationQueue::setMaxConcurrentOperationCount(int count)
{
    std::lock_guard lock(mutex_);
    maxConcurrentOperationCount_ = count > 0 ? count : DefaultMaxConcurrentOperationCount;
    pool_.setMaxThreadCount(count > 0 ? count : defaultConcurrency());
}

int OperationQueue::maxConcurrentOperationCount() const
{
    std::lock_guard lock(mutex_);
    return maxConcurrentOperationCount_;
}

void OperationQueue::waitUntilAllOperationsAreFinished()
{
    pool_.waitForDone();
}

void OperationQueue::finished(const Operation* operation)
{
    std::lock_guard lock(mutex_);
    std::erase_if(operations_, [operation](const std::shared_ptr<Operation>& queued) {
        return queued.get() == operation;
    });
}

} // namespace tolvex
