#pragma once

#include "engine/DropViewInfoDic.h"

class QMimeData;

namespace tolvex {

class DropView;

// The receiver of a drop zone's drags.
class DropViewDelegate {
public:
    virtual ~DropViewDelegate() = default;

    // A drop passed the zone's own checks.
    virtual void dropViewDidGetDropWithPasteboard(DropView* dropView,
                                                  const QMimeData* pasteboard) = 0;
    // A drag with file names entered the zone.
    virtual void dropViewEntered(const DropViewInfoDic& info) = 0;
    // The drag left the zone, or the zone must return from its hover look.
    virtual void dropViewExited(const DropViewInfoDic& info) = 0;
};

} // namespace tolvex
