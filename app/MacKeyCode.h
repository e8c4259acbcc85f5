#pragma once

#include <QtGlobal>
#include <optional>

namespace tolvex {

// The main window's shortcut table speaks in the virtual key codes of the Mac keyboard, which
// name a key by where it sits, not by what it types. A Linux key event carries the same kind of
// position in its native scan code (the evdev code plus 8 on X11 and Wayland), so one table maps
// each physical key to the code of the key in the same place.
class MacKeyCode {
public:
    static constexpr int Return = 36;
    static constexpr int Delete = 51;
    static constexpr int DownArrow = 125;
    static constexpr int UpArrow = 126;

    // The Mac code of the key at the position of `nativeScanCode`, or nothing for a key that has
    // no counterpart (or a synthesised event without a scan code).
    static std::optional<int> fromNativeScanCode(quint32 nativeScanCode);
};

} // namespace tolvex
