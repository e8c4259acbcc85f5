#include "engine/GetPathsOperation.h"

#include "engine/LoadOperation.h"

namespace tolvex {

GetPathsOperation::GetPathsOperation(const QStringList& paths, OperationQueue& queue,
                                     qint64 operIDint)
    : SizeOperation(operIDint), fpaths_(paths), queue_(queue)
{}

void GetPathsOperation::main()
{
    if (isCancelled()) {
        return;
    }
    auto load = std::make_shared<LoadOperation>(fpaths_, operIDint());
    load->setName(QStringLiteral("sizeOperation%1").arg(operIDint()));
    load->setQueuePriority(QueuePriorityVeryHigh);
    queue_.addOperation(load);
    // A cancel that walked the queue while the load was being added has missed it.
    if (isCancelled()) {
        load->cancel();
    }
}

} // namespace tolvex
