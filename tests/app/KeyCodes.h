#pragma once

#include <QtGlobal>

namespace tolvex::testing::Key {

// The evdev codes of the keys the tests press; X11 and Wayland report them plus 8.
inline constexpr quint32 Q = 16, W = 17, A = 30, S = 31, H = 35, J = 36, Semicolon = 39, Z = 44,
                         X = 45, C = 46, V = 47, M = 50, Comma = 51, Return = 28, Backspace = 14,
                         Up = 103, Down = 108;

inline constexpr quint32 scanCode(quint32 evdev)
{
    return evdev + 8;
}

} // namespace tolvex::testing::Key
