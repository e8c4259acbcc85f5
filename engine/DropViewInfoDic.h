#pragma once

#include <QVariant>
#include <QtGlobal>
#include <optional>

namespace tolvex {

// What a drop zone (or whoever stands in for it) tells its delegate about a drag.
struct DropViewInfoDic {
    qint64 senderTag = 0;            // the zone's list id
    QVariant senderInfo;             // the drag, or the object that asked; the receiver ignores it
    std::optional<bool> refreshSize; // YES: the filled look measures the list again
};

} // namespace tolvex
