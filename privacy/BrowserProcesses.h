#pragma once

#include <QString>
#include <functional>

namespace tolvex {

// Whether a browser runs and how it is made to quit. Tests replace both, so that no real
// browser is ever asked.
struct BrowserProcesses {
    // Whether an application with this bundle identifier runs.
    std::function<bool(const QString& bundleID, const QString& name)> isRunning;
    // Asks the first running application of the bundle identifier to quit, and forces it when
    // it refuses; whether either request was delivered.
    std::function<bool(const QString& bundleID)> quit;

    // The processes of this machine.
    static BrowserProcesses system();
};

} // namespace tolvex
