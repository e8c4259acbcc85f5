#pragma once

#include <csignal>

namespace tolvex::tolx {

// SIGTERM and SIGINT wait while this lives, then take effect: for steps that a stop must never
// see half done, such as an item's renames before its removal or a deep folder's move.
class StopRequestsHeld {
public:
    StopRequestsHeld()
    {
        sigset_t stops;
        sigemptyset(&stops);
        sigaddset(&stops, SIGTERM);
        sigaddset(&stops, SIGINT);
        pthread_sigmask(SIG_BLOCK, &stops, &previous_);
    }
    ~StopRequestsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    StopRequestsHeld(const StopRequestsHeld&) = delete;
    StopRequestsHeld& operator=(const StopRequestsHeld&) = delete;

private:
    sigset_t previous_{};
};

} // namespace tolvex::tolx
