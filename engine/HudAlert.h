#pragma once

#include <QString>

namespace tolvex {

// HudAlertType values the engine raises.
namespace HudAlertType {
inline constexpr int information = 0;
inline constexpr int error = 2;
inline constexpr int success = 3;
} // namespace HudAlertType

// The program's transient notice over the main window. Main thread only.
class HudAlert {
public:
    virtual ~HudAlert() = default;
    virtual void alertWithWindow(int type, const QString& message) = 0;
};

} // namespace tolvex
