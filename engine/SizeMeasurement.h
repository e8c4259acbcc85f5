#pragma once

#include <QStringList>
#include <memory>

namespace tolvex {

class OperationQueue;

// The size queue (sizeQueue) and the measurements of the lists on it. Main thread only; the
// results arrive as kSizeLoadDidFinish on the measuring operation's thread.
class SizeMeasurement {
public:
    SizeMeasurement();
    ~SizeMeasurement();

    // Queues a measurement of `paths` as list `operIDint`.
    void addMeasurement(const QStringList& paths, qint64 operIDint);

    // Cancels the queued and running operations of list `operIDint`.
    void cancelOperationsWithOperIDint(qint64 operIDint);

    // The size queue, made on first use.
    OperationQueue& sizeQueue();

private:
    std::unique_ptr<OperationQueue> sizeQueue_;
};

} // namespace tolvex
