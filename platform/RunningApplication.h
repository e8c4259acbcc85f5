#pragma once

#include <QList>
#include <QString>
#include <chrono>
#include <functional>
#include <sys/types.h>

namespace tolvex {

// A running program found in /proc by the executables known for an application's bundle
// identifier.
class RunningApplication {
public:
    explicit RunningApplication(pid_t pid) : pid_(pid) {}

    static QList<RunningApplication> runningApplicationsWithBundleIdentifier(const QString& id);

    bool terminate() const; // SIGTERM; false when the signal could not be sent
    // Calls `ended` once on the calling thread, which must run an event loop: with true as soon
    // as the process is gone, with false when `timeout` passes first. The calling thread is never
    // held meanwhile.
    void whenTerminated(std::chrono::milliseconds timeout, std::function<void(bool)> ended) const;
    pid_t processIdentifier() const { return pid_; }

private:
    pid_t pid_;
};

} // namespace tolvex
