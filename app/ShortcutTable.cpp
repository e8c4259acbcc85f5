#include "ShortcutTable.h"

#include "app/MacKeyCode.h"

namespace tolvex {

namespace {

enum class Modifiers { Any, Command, CommandShift };

// Which layout questions a row asks before it knows its key.
enum class LayoutSense { None, DvorakThenAzerty, AzertyOnly, DvorakOnly };

struct Row {
    ShortcutAction action;
    Modifiers modifiers;
    LayoutSense sense;
    int qwerty;
    int azerty;
    int dvorak;
};

constexpr Row kRows[] = {
    {ShortcutAction::Quit, Modifiers::Command, LayoutSense::DvorakThenAzerty, 12, 0, 7},
    {ShortcutAction::CloseWindow, Modifiers::Command, LayoutSense::DvorakThenAzerty, 13, 6, 43},
    {ShortcutAction::Minimise, Modifiers::Command, LayoutSense::AzertyOnly, 46, 41, 46},
    {ShortcutAction::ShredEverything, Modifiers::Any, LayoutSense::None, MacKeyCode::Return,
     MacKeyCode::Return, MacKeyCode::Return},
    {ShortcutAction::Preferences, Modifiers::Command, LayoutSense::DvorakThenAzerty, 43, 46, 13},
    {ShortcutAction::Hide, Modifiers::Command, LayoutSense::DvorakOnly, 4, 4, 38},
    {ShortcutAction::SwitchLayout, Modifiers::Command, LayoutSense::None, MacKeyCode::UpArrow,
     MacKeyCode::UpArrow, MacKeyCode::UpArrow},
    {ShortcutAction::SwitchLayout, Modifiers::Command, LayoutSense::None, MacKeyCode::DownArrow,
     MacKeyCode::DownArrow, MacKeyCode::DownArrow},
    {ShortcutAction::SecureEmptyTrash, Modifiers::CommandShift, LayoutSense::None,
     MacKeyCode::Delete, MacKeyCode::Delete, MacKeyCode::Delete},
    // 1 is the key that types S on QWERTY and AZERTY.
    {ShortcutAction::PrivacyScan, Modifiers::CommandShift, LayoutSense::None, 1, 1, 1},
};

bool modifiersMatch(Modifiers required, Qt::KeyboardModifiers held)
{
    const bool command = held.testFlag(Qt::ControlModifier);
    const bool shift = held.testFlag(Qt::ShiftModifier);
    switch (required) {
    case Modifiers::Any:
        return true;
    case Modifiers::Command:
        return command;
    case Modifiers::CommandShift:
        return command && shift;
    }
    return false;
}

int keyCodeOf(const Row& row, const KeyboardLayoutTests& layout)
{
    switch (row.sense) {
    case LayoutSense::None:
        return row.qwerty;
    case LayoutSense::DvorakThenAzerty:
        if (layout.isDvorak())
            return row.dvorak;
        return layout.isAzerty() ? row.azerty : row.qwerty;
    case LayoutSense::AzertyOnly:
        return layout.isAzerty() ? row.azerty : row.qwerty;
    case LayoutSense::DvorakOnly:
        return layout.isDvorak() ? row.dvorak : row.qwerty;
    }
    return row.qwerty;
}

} // namespace

ShortcutAction ShortcutTable::actionFor(Qt::KeyboardModifiers modifiers, int macKeyCode,
                                        const KeyboardLayoutTests& layout)
{
    for (const Row& row : kRows)
        if (modifiersMatch(row.modifiers, modifiers) && keyCodeOf(row, layout) == macKeyCode)
            return row.action;
    return ShortcutAction::None;
}

} // namespace tolvex
