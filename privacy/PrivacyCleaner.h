#pragma once

#include "privacy/PrivInfoDic.h"

#include <QStringList>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace tolvex {

class HudAlert;
class PrivacyLooks;
class SheetPresenter;

// Removes what a privacy scan found for one browser: its cookies, its history files, and the
// history tables of Firefox's places database. A clean-up runs on the global queue; its looks,
// progress and closing notice reach the window in order on the main queue. It does what it can
// and then tells what it left and why; only a clean-up that left nothing reads as complete.
// Nothing stops a clean-up: several may overlap, each painting its own steps.
class PrivacyCleaner {
public:
    PrivacyCleaner(PrivacyLooks& looks, HudAlert& hud, SheetPresenter& sheets);
    // Waits for the clean-ups still running, so that quitting never cuts one short nor leaves it
    // posting to an application that is going; steps still queued for the window are dropped.
    ~PrivacyCleaner();
    PrivacyCleaner(const PrivacyCleaner&) = delete;
    PrivacyCleaner& operator=(const PrivacyCleaner&) = delete;

    // Starts one clean-up of `fromPrivInfoDic` and returns at once; cookies go first.
    void removeCookies(bool cookies, bool andHistory, const PrivInfoDic& fromPrivInfoDic);
    // Remove on the calling thread; what was left, each item with the reason.
    QStringList removeHistoryOnlyFrom(const PrivInfoDic& record);
    QStringList removeCookiesOnlyFrom(const PrivInfoDic& record);

private:
    struct Window {
        PrivacyLooks* looks; // cleared when the cleaner goes
        HudAlert* hud;
        SheetPresenter* sheets;
    };
    using WindowStep = std::function<void(const Window& shown)>;

    static void post(const std::shared_ptr<Window>& window, WindowStep step);
    static void postProgress(const std::shared_ptr<Window>& window, const QString& name,
                             double removed, double total);
    // Removes each listed item that exists, calling `removing` before each removal.
    static QStringList removeListed(const QStringList& paths, const QStringList& kept,
                                    const std::function<void()>& removing);
    static QStringList removeHistory(const PrivInfoDic& record,
                                     const std::shared_ptr<Window>& window);
    static QStringList emptyPlaces(const QString& places);
    static QStringList removeCookiesOf(const PrivInfoDic& record,
                                       const std::shared_ptr<Window>& window);

    void finishCleanUp();

    // Read and cleared on the main thread only, so a step never runs after its window is gone.
    std::shared_ptr<Window> window_;
    std::mutex mutex_;
    std::condition_variable cleanUpFinished_;
    int runningCleanUps_ = 0;
};

} // namespace tolvex
