#pragma once

#include <sys/types.h>

namespace tolvex {

// The top-level windows of a process on the X11 display, closed the way their user closes them.
class X11Windows {
public:
    // Asks the window manager (or, without one, each window itself) to close every top-level
    // window that `pid` owns. False when there is no X11 display or the process has no window
    // there.
    static bool closeWindowsOf(pid_t pid);
};

} // namespace tolvex
