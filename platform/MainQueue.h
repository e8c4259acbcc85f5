#pragma once

#include <functional>

namespace tolvex {

// The main queue: work that must run on the GUI thread (every change to the window) is posted
// here from any thread and runs later, in posting order, from the application's event loop.
// Needs a QCoreApplication (or QApplication) to exist.
class MainQueue {
public:
    using Block = std::function<void()>;

    // Queues `block` on the GUI thread; never runs it synchronously, even from that thread.
    static void post(Block block);

    // Queues `block` on the GUI thread after `delayMs` milliseconds.
    static void postAfter(int delayMs, Block block);

    // True when the caller is on the GUI thread.
    static bool isMainThread();
};

} // namespace tolvex
