#include "MacKeyCode.h"

#include <utility>

namespace tolvex {

namespace {

// X11 and Wayland key codes are the kernel's evdev codes shifted by this amount.
constexpr quint32 kEvdevOffset = 8;

// evdev code -> Mac virtual key code, for the keys of a standard ISO/ANSI keyboard.
constexpr std::pair<quint32, int> kEvdevToMac[] = {
    {1, 53},    // Escape
    {2, 18},    // 1
    {3, 19},    // 2
    {4, 20},    // 3
    {5, 21},    // 4
    {6, 23},    // 5
    {7, 22},    // 6
    {8, 26},    // 7
    {9, 28},    // 8
    {10, 25},   // 9
    {11, 29},   // 0
    {12, 27},   // minus
    {13, 24},   // equal
    {14, 51},   // Backspace (the Mac Delete key)
    {15, 48},   // Tab
    {16, 12},   // Q
    {17, 13},   // W
    {18, 14},   // E
    {19, 15},   // R
    {20, 17},   // T
    {21, 16},   // Y
    {22, 32},   // U
    {23, 34},   // I
    {24, 31},   // O
    {25, 35},   // P
    {26, 33},   // left bracket
    {27, 30},   // right bracket
    {28, 36},   // Return
    {30, 0},    // A
    {31, 1},    // S
    {32, 2},    // D
    {33, 3},    // F
    {34, 5},    // G
    {35, 4},    // H
    {36, 38},   // J
    {37, 40},   // K
    {38, 37},   // L
    {39, 41},   // semicolon
    {40, 39},   // apostrophe
    {41, 50},   // grave
    {43, 42},   // backslash
    {44, 6},    // Z
    {45, 7},    // X
    {46, 8},    // C
    {47, 9},    // V
    {48, 11},   // B
    {49, 45},   // N
    {50, 46},   // M
    {51, 43},   // comma
    {52, 47},   // period
    {53, 44},   // slash
    {57, 49},   // Space
    {59, 122},  // F1
    {60, 120},  // F2
    {61, 99},   // F3
    {62, 118},  // F4
    {63, 96},   // F5
    {64, 97},   // F6
    {65, 98},   // F7
    {66, 100},  // F8
    {67, 101},  // F9
    {68, 109},  // F10
    {86, 10},   // the ISO key beside the left Shift
    {87, 103},  // F11
    {88, 111},  // F12
    {96, 76},   // keypad Enter
    {102, 115}, // Home
    {103, 126}, // Up
    {104, 116}, // Page Up
    {105, 123}, // Left
    {106, 124}, // Right
    {107, 119}, // End
    {108, 125}, // Down
    {109, 121}, // Page Down
    {110, 114}, // Insert (the Mac Help key)
    {111, 117}, // forward Delete
};

} // namespace

std::optional<int> MacKeyCode::fromNativeScanCode(quint32 nativeScanCode)
{
    if (nativeScanCode < kEvdevOffset)
        return std::nullopt;
    const quint32 evdev = nativeScanCode - kEvdevOffset;
    for (const auto& [code, mac] : kEvdevToMac)
        if (code == evdev)
            return mac;
    return std::nullopt;
}

} // namespace tolvex
