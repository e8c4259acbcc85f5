#pragma once

#include <QString>
#include <QThreadPool>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace tolvex {

// One unit of work for an OperationQueue. Subclass it and put the work in main().
// Cancelling only raises a flag: an operation that has not started yet is skipped without
// running main(); a running one sees isCancelled() and decides itself when to stop.
class Operation {
public:
    // The queue-priority values, highest first when an operation is taken from the queue.
    enum QueuePriority : int {
        QueuePriorityVeryLow = -8,
        QueuePriorityLow = -4,
        QueuePriorityNormal = 0,
        QueuePriorityHigh = 4,
        QueuePriorityVeryHigh = 8,
    };

    Operation();
    virtual ~Operation() = default;
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    virtual void main() = 0;

    void cancel() { cancelled_ = true; }
    bool isCancelled() const { return cancelled_; }

    QString name() const;
    void setName(const QString& name);

    // The queue reads it when the operation is added.
    int queuePriority() const { return queuePriority_; }
    void setQueuePriority(int priority) { queuePriority_ = priority; }

    // Unique in the process, in the order of creation.
    quint64 id() const { return id_; }

private:
    const quint64 id_;
    std::atomic<bool> cancelled_ = false;
    std::atomic<int> queuePriority_ = QueuePriorityNormal;
    mutable std::mutex nameMutex_;
    QString name_;
};

// Runs operations on worker threads, at most maxConcurrentOperationCount at a time, the waiting
// ones by descending priority and, within a priority, in the order they were added. Any thread
// may add operations, an operation's main() included. Destroying the queue waits for all its
// operations, so no operation may still add to it by then.
class OperationQueue {
public:
    static constexpr int DefaultMaxConcurrentOperationCount = -1;

    OperationQueue();
    ~OperationQueue();
    OperationQueue(const OperationQueue&) = delete;
    OperationQueue& operator=(const OperationQueue&) = delete;

    void addOperation(std::shared_ptr<Operation> operation);

    // The operations that are queued or running, in the order they were added.
    std::vector<std::shared_ptr<Operation>> operations() const;

    void cancelAllOperations();

    // A count of 0 or less restores the default: one per processor core.
    void setMaxConcurrentOperationCount(int count);
    int maxConcurrentOperationCount() const;

    // Blocks until the queue is empty, operations added meanwhile included. Never from main().
    void waitUntilAllOperationsAreFinished();

private:
    void finished(const Operation* operation);

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Operation>> operations_;
    int maxConcurrentOperationCount_ = DefaultMaxConcurrentOperationCount;
    QThreadPool pool_;
};

} // namespace tolvex
