#pragma once

#include "platform/RunningApplication.h"

#include <QString>
#include <functional>

namespace tolvex {

// Whether a browser runs and how it is made to quit. Tests replace both, so that no real
// browser is ever asked.
struct BrowserProcesses {
    using Ended = std::function<void(bool ended)>;

    // Whether an application with this bundle identifier runs.
    std::function<bool(const QString& bundleID, const QString& name)> isRunning;
    // Asks every running application of the bundle identifier to quit, then calls `ended` on the
    // main thread with whether all of them ended within the wait. Returns at once.
    std::function<void(const QString& bundleID, Ended ended)> quit;

    // The processes of this machine.
    static BrowserProcesses system();
    // The quit of `system()`, for the applications `lookup` finds.
    static std::function<void(const QString& bundleID, Ended ended)>
    quitting(std::function<QList<RunningApplication>(const QString& bundleID)> lookup);
};

} // namespace tolvex
