#pragma once

namespace tolvex {

// The look of a HUD alert and the way it closes. Alerts carry it as a plain int: any value
// outside these looks and behaves as information.
namespace HudAlertType {
inline constexpr int information = 0;
inline constexpr int warning = 1;
inline constexpr int error = 2;
inline constexpr int success = 3;
// A spinner instead of an icon; stays until it is dismissed in code.
inline constexpr int busy = 4;
} // namespace HudAlertType

} // namespace tolvex
