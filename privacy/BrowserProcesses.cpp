#include "privacy/BrowserProcesses.h"

#include "privacy/UtilsPrivacy.h"

#include <memory>

namespace tolvex {

namespace {

// Long enough for a browser to write its session and close its databases; a browser still up
// after it is left alone, not killed in the middle of a write.
constexpr std::chrono::seconds kQuitWait{20};

} // namespace

BrowserProcesses BrowserProcesses::system()
{
    return {&Utils::checkIfAppWithBundleID,
            quitting(&RunningApplication::runningApplicationsWithBundleIdentifier)};
}

std::function<void(const QString&, BrowserProcesses::Ended)>
BrowserProcesses::quitting(std::function<QList<RunningApplication>(const QString&)> lookup)
{
    return [lookup = std::move(lookup)](const QString& bundleID, Ended ended) {
        const QList<RunningApplication> running = lookup(bundleID);
        struct Waiting {
            qsizetype left;
            bool allEnded = true;
            Ended ended;
        };
        const auto waiting = std::make_shared<Waiting>(Waiting{running.size(), true, ended});
        if (running.isEmpty())
            ended(true);
        for (const RunningApplication& application : running) {
            application.terminate();
            application.whenTerminated(kQuitWait, [waiting](bool gone) {
                waiting->allEnded = waiting->allEnded && gone;
                if (--waiting->left == 0)
                    waiting->ended(waiting->allEnded);
            });
        }
    };
}

} // namespace tolvex
