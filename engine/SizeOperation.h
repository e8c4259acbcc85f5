#pragma once

#include "platform/OperationQueue.h"

namespace tolvex {

// A size-queue operation of one list; operIDint is how a list's measurements are found and
// cancelled.
class SizeOperation : public Operation {
public:
    explicit SizeOperation(qint64 operIDint) : operIDint_(operIDint) {}
    qint64 operIDint() const { return operIDint_; }

private:
    const qint64 operIDint_;
};

} // namespace tolvex
