#pragma once

#include <csignal>

namespace tolvex::tolx {

// A stop request in the middle of the renames would leave an item under a random name: SIGTERM
// and SIGINT wait while this lives, until the item's name is gone, then take effect.
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
