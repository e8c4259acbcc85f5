#pragma once

#include "platform/HudAlertType.h"

#include <QString>

namespace tolvex {

// The program's transient notice over the main window. Main thread only.
class HudAlert {
public:
    virtual ~HudAlert() = default;
    virtual void alertWithWindow(int type, const QString& message) = 0;
};

} // namespace tolvex
