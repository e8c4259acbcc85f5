#include "engine/SizeMeasurement.h"

#include "engine/GetPathsOperation.h"

namespace tolvex {

SizeMeasurement::SizeMeasurement() = default;

SizeMeasurement::~SizeMeasurement()
{
    if (sizeQueue_) {
        sizeQueue_->cancelAllOperations();
        sizeQueue_->waitUntilAllOperationsAreFinished();
    }
}

OperationQueue& SizeMeasurement::sizeQueue()
{
    if (!sizeQueue_) {
        sizeQueue_ = std::make_unique<OperationQueue>();
    }
    return *sizeQueue_;
}

void SizeMeasurement::addMeasurement(const QStringList& paths, qint64 operIDint)
{
    OperationQueue& queue = sizeQueue();
    queue.addOperation(std::make_shared<GetPathsOperation>(paths, queue, operIDint));
}

void SizeMeasurement::cancelOperationsWithOperIDint(qint64 operIDint)
{
    if (!sizeQueue_) {
        return;
    }
    for (const std::shared_ptr<Operation>& operation : sizeQueue_->operations()) {
        const auto* sizeOperation = dynamic_cast<const SizeOperation*>(operation.get());
        if (sizeOperation && sizeOperation->operIDint() == operIDint) {
            operation->cancel();
        }
    }
}

} // namespace tolvex
