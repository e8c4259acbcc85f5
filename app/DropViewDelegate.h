#pragma once

#include "engine/DropViewInfoDic.h"

#include <QStringList>

namespace tolvex {

class DropView;

// The receiver of a drop zone's drags.
class DropViewDelegate {
public:
    virtual ~DropViewDelegate() = default;

    // A drop passed the zone's own checks; `fileNames` are the paths the drag carries.
    virtual void dropViewDidGetDropWithPasteboard(DropView* dropView,
                                                  const QStringList& fileNames) = 0;
    // A drag with file names entered the zone.
    virtual void dropViewEntered(const DropViewInfoDic& info) = 0;
    // The drag left the zone, or the zone must return from its hover look.
    virtual void dropViewExited(const DropViewInfoDic& info) = 0;
};

} // namespace tolvex
