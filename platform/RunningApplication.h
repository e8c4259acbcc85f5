#pragma once

#include <QList>
#include <QString>
#include <sys/types.h>

namespace tolvex {

// A running program found in /proc by the executables known for an application's bundle
// identifier.
class RunningApplication {
public:
    explicit RunningApplication(pid_t pid) : pid_(pid) {}

    static QList<RunningApplication> runningApplicationsWithBundleIdentifier(const QString& id);

    bool terminate() const;      // SIGTERM; false when the signal could not be sent
    bool forceTerminate() const; // SIGKILL
    pid_t processIdentifier() const { return pid_; }

private:
    pid_t pid_;
};

} // namespace tolvex
