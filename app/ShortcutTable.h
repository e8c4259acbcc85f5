#pragma once

#include <Qt>
#include <functional>

namespace tolvex {

enum class ShortcutAction {
    None,
    Quit,
    CloseWindow,
    Minimise,
    ShredEverything,
    Preferences,
    Hide,
    SwitchLayout,
    SecureEmptyTrash,
    PrivacyScan,
};

// The keyboard-layout questions a row of the table may ask; each is asked afresh, only by the
// rows that need it.
struct KeyboardLayoutTests {
    std::function<bool()> isDvorak;
    std::function<bool()> isAzerty;
};

// The main window's shortcuts. Key codes are Mac virtual key codes (see MacKeyCode), so a row
// names a key by its position; the rows that name a letter pick the position that types it on
// QWERTY, AZERTY or Dvorak. Command is the Ctrl key here. The first matching row wins.
class ShortcutTable {
public:
    static ShortcutAction actionFor(Qt::KeyboardModifiers modifiers, int macKeyCode,
                                    const KeyboardLayoutTests& layout);
};

} // namespace tolvex
