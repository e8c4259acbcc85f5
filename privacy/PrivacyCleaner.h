#pragma once

#include "privacy/PrivInfoDic.h"

#include <QString>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace tolvex {

class HudAlert;
class PrivacyLooks;

// Removes what a privacy scan found for one browser: its cookies, its history files, and the
// history tables of Firefox's places database. A clean-up runs on the global queue; its looks,
// progress and closing notice reach the window in order on the main queue. Nothing stops a
// clean-up: several may overlap, each painting its own steps.
class PrivacyCleaner {
public:
    PrivacyCleaner(PrivacyLooks& looks, HudAlert& hud);
    // Waits for the clean-ups still running, so that quitting never cuts one short nor leaves it
    // posting to an application that is going; steps still queued for the window are dropped.
    ~PrivacyCleaner();
    PrivacyCleaner(const PrivacyCleaner&) = delete;
    PrivacyCleaner& operator=(const PrivacyCleaner&) = delete;

    // Starts one clean-up of `fromPrivInfoDic` and returns at once; cookies go first.
    void removeCookies(bool cookies, bool andHistory, const PrivInfoDic& fromPrivInfoDic);
    // Remove on the calling thread.
    void removeHistoryOnlyFrom(const PrivInfoDic& record);
    void removeCookiesOnlyFrom(const PrivInfoDic& record);

private:
    struct Window {
        PrivacyLooks* looks;
        HudAlert* hud;
    };
    using WindowStep = std::function<void(PrivacyLooks& looks, HudAlert& hud)>;

    static void post(const std::shared_ptr<Window>& window, WindowStep step);
    static void postProgress(const std::shared_ptr<Window>& window, const QString& name,
                             double removed, double total);
    static void removeHistory(const PrivInfoDic& record, const std::shared_ptr<Window>& window);
    static void removeCookiesOf(const PrivInfoDic& record, const std::shared_ptr<Window>& window);

    void finishCleanUp();

    // Read and cleared on the main thread only, so a step never runs after its window is gone.
    std::shared_ptr<Window> window_;
    std::mutex mutex_;
    std::condition_variable cleanUpFinished_;
    int runningCleanUps_ = 0;
};

} // namespace tolvex
