#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <sys/types.h>

namespace tolvex {

// Where an application's program is installed: the files its packages put it in, its Snap and
// its Flatpak. A program of the same name anywhere else is somebody else's.
struct ApplicationPrograms {
    QStringList files;
    QString snap{};
    QString flatpak{};
};

// A running program found in /proc by the executable it runs.
class RunningApplication {
public:
    explicit RunningApplication(pid_t pid) : pid_(pid) {}

    static QList<RunningApplication> runningApplicationsWithBundleIdentifier(const QString& id);
    static QList<RunningApplication> runningApplicationsOf(const ApplicationPrograms& programs);

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
