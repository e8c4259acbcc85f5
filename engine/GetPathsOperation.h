#pragma once

#include "engine/SizeOperation.h"

#include <QStringList>

namespace tolvex {

// The first half of a list's measurement: puts the measuring LoadOperation on the size queue.
class GetPathsOperation : public SizeOperation {
public:
    GetPathsOperation(const QStringList& paths, OperationQueue& queue, qint64 operIDint);

    void main() override;

    const QStringList& fpaths() const { return fpaths_; }

private:
    const QStringList fpaths_;
    OperationQueue& queue_;
};

} // namespace tolvex
