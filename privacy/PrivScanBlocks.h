#pragma once

#include "privacy/BrowserProcesses.h"
#include "privacy/PrivInfoDic.h"

#include <QList>
#include <functional>
#include <optional>

namespace tolvex {

class ModalOverlay;
class PrivacyCleaner;
class PrivacyLooks;
class SheetPresenter;

// What the results screens' buttons do, as AppDelegate installs it on both screens: close the
// screen, have running browsers quit with the user's consent, wait for them to end, and start
// the clean-ups; a browser that does not end is not cleaned. Main thread only.
class PrivScanBlocks {
public:
    // The results screens' close button.
    static constexpr qint64 kCloseTag = 777;

    // A running browser named in the quit sheets.
    struct RunningBrowser {
        QString kBrowserName;
        QString kBrowserBndlID;
    };

    PrivScanBlocks(PrivacyCleaner& cleaner, PrivacyLooks& looks, SheetPresenter& sheets,
                   ModalOverlay& overlay, const QString& supportMail,
                   BrowserProcesses processes = BrowserProcesses::system());

    // Tests keep real browsers out of it.
    void setBrowserProcesses(BrowserProcesses processes) { processes_ = std::move(processes); }

    // A row's buttons (cookies, history or both) and the close button (kCloseTag, no record).
    // `logsRemoveOperation`: the vertical screen's copy logs the user's consent to quit.
    void privScanRowActionBlock(qint64 tag, const std::optional<PrivInfoDic>& record,
                                qint64 checkboxState, bool cookies, bool history,
                                bool logsRemoveOperation);
    // The clean-all button: every row, cookies and history.
    void privScanCleanUpAllBlock(qint64 tag, const QList<PrivInfoDic>& rows, qint64 checkboxState);

private:
    void cleanEveryRow(const QList<PrivInfoDic>& rows);
    // Has each browser quit and waits for all to end; then tells the user which did not and
    // calls `clean` with their names.
    void quitThenClean(const QList<RunningBrowser>& browsers,
                       std::function<void(const QStringList& stillRunning)> clean);

    PrivacyCleaner& cleaner_;
    PrivacyLooks& looks_;
    SheetPresenter& sheets_;
    ModalOverlay& overlay_;
    QString supportMail_;
    BrowserProcesses processes_;
};

} // namespace tolvex
