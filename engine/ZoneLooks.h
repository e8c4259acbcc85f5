#pragma once

#include "engine/DropViewInfoDic.h"

#include <QStringList>

namespace tolvex {

// The looks of the three drop zones, by list id. The main window implements them; the shred
// lists and runs only ask for them. All calls come on the main thread.
class ZoneLooks {
public:
    virtual ~ZoneLooks() = default;

    // The empty look. It also empties the list and sets its file count to 0.
    virtual void resetDefStateForPassViewWithTag(qint64 tag) = 0;

    // The filled look for `arrOfPaths`. isRefresh keeps the ring's bounds; refreshSize starts a
    // size measurement of those paths.
    virtual void droppedStateForPassViewWithTag(qint64 tag, const QStringList& arrOfPaths,
                                                bool isRefresh, bool refreshSize) = 0;

    // Back from the hover look: the empty or filled look that the zone's list calls for.
    virtual void dropViewExited(const DropViewInfoDic& info) = 0;
};

} // namespace tolvex
