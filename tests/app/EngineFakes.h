#pragma once

// The window-side interfaces the engine paints through, recording what they are told.

#include "engine/HudAlert.h"
#include "engine/ModalOverlay.h"
#include "engine/ZoneLooks.h"

#include <QStringList>

namespace tolvex::testing {

struct Looks : ZoneLooks {
    QStringList calls;
    void resetDefStateForPassViewWithTag(qint64 tag) override
    {
        calls << QStringLiteral("empty %1").arg(tag);
    }
    void droppedStateForPassViewWithTag(qint64 tag, const QStringList& paths, bool isRefresh,
                                        bool refreshSize) override
    {
        calls << QStringLiteral("filled %1 %2 %3 %4")
                     .arg(tag)
                     .arg(paths.size())
                     .arg(isRefresh)
                     .arg(refreshSize);
    }
    void dropViewExited(const DropViewInfoDic& info) override
    {
        calls << QStringLiteral("exited %1 %2")
                     .arg(info.senderTag)
                     .arg(info.refreshSize.value_or(true));
    }
};

struct Hud : HudAlert {
    QStringList messages;
    void alertWithWindow(int, const QString& message) override { messages << message; }
};

struct Overlay : ModalOverlay {
    void close() override {}
};

} // namespace tolvex::testing
