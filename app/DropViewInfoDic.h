#pragma once

#include <QObject>
#include <optional>

namespace tolvex {

// What a drop zone tells its delegate about a drag, and what other callers hand over to bring a
// zone back from its hover look.
struct DropViewInfoDic {
    int senderTag = 0;                   // the list id of the zone
    const QObject* senderInfo = nullptr; // the drag's data, or whatever object asked
    std::optional<bool> refreshSize;     // YES: the filled look measures the list again
};

} // namespace tolvex
