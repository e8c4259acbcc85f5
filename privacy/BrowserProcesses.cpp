#include "privacy/BrowserProcesses.h"

#include "platform/X11Windows.h"
#include "privacy/UtilsPrivacy.h"

#include <memory>

namespace tolvex {

namespace {

// Long enough for a browser to write its session and close its databases; a browser still up
// after it is left alone, not killed in the middle of a write.
constexpr std::chrono::seconds kQuitWait{20};
// How long a browser whose windows were asked to close has before it is sent SIGTERM: one set to
// keep running in the background stays up after its last window.
constexpr std::chrono::seconds kCloseWait{5};

// Asks the application to quit as its user would: its windows first, then SIGTERM.
void endApplication(const RunningApplication& application, BrowserProcesses::Ended ended)
{
    const auto terminate = [application, ended] {
        application.terminate();
        application.whenTerminated(kQuitWait, ended);
    };
    if (!X11Windows::closeWindowsOf(application.processIdentifier())) {
        terminate();
        return;
    }
    application.whenTerminated(kCloseWait, [terminate, ended](bool gone) {
        if (gone)
            ended(true);
        else
            terminate();
    });
}

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
            endApplication(application, [waiting](bool gone) {
                waiting->allEnded = waiting->allEnded && gone;
                if (--waiting->left == 0)
                    waiting->ended(waiting->allEnded);
            });
        }
    };
}

} // namespace tolvex
