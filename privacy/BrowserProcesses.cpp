#include "privacy/BrowserProcesses.h"

#include "platform/RunningApplication.h"
#include "privacy/UtilsPrivacy.h"

namespace tolvex {

BrowserProcesses BrowserProcesses::system()
{
    return {&Utils::checkIfAppWithBundleID, [](const QString& bundleID) {
                const QList<RunningApplication> running =
                    RunningApplication::runningApplicationsWithBundleIdentifier(bundleID);
                if (running.isEmpty())
                    return false;
                return running.first().terminate() || running.first().forceTerminate();
            }};
}

} // namespace tolvex
