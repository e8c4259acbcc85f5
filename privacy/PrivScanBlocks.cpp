#include "privacy/PrivScanBlocks.h"

#include "engine/ModalOverlay.h"
#include "engine/SheetPresenter.h"
#include "privacy/PrivacyCleaner.h"
#include "privacy/PrivacyLog.h"
#include "privacy/PrivacyLooks.h"

#include <algorithm>
#include <memory>

namespace tolvex {

namespace {

const QString kWaitingToQuit = QStringLiteral("Waiting for the browser to quit...");

SheetAlert browserRunningAlert(const PrivInfoDic& record, const QString& supportMail)
{
    const QString& name = record.kBrowserName;
    SheetAlert alert;
    alert.messageText = QStringLiteral("%1 is running").arg(name);
    alert.informativeText =
        QStringLiteral("Tolvex needs you to Quit %1 to continue.\n\n Should you have any "
                       "questions, please contact: ")
            .arg(name) +
        supportMail;
    alert.buttons = {QStringLiteral("Quit %1 and Continue").arg(name), QStringLiteral("Cancel")};
    alert.style = SheetAlert::Style::Critical;
    alert.iconFilePath = record.kBrowserInstallPath.value_or(QString());
    return alert;
}

SheetAlert browsersRunningAlert(const QList<PrivScanBlocks::RunningBrowser>& running)
{
    QStringList names;
    for (const PrivScanBlocks::RunningBrowser& browser : running)
        names << browser.kBrowserName;
    SheetAlert alert;
    alert.messageText = QStringLiteral("At least one browser is running");
    alert.informativeText =
        QStringLiteral("Tolvex will Quit %1 to continue.").arg(names.join(QStringLiteral(", ")));
    alert.buttons = {QStringLiteral("Quit and Continue"), QStringLiteral("Cancel")};
    alert.style = SheetAlert::Style::Critical;
    return alert;
}

SheetAlert stillRunningAlert(const QStringList& names)
{
    SheetAlert alert;
    alert.messageText = QStringLiteral("%1 did not quit").arg(names.join(QStringLiteral(", ")));
    alert.informativeText =
        QStringLiteral("Nothing was removed while it runs. Quit it yourself, then clean up again.");
    alert.buttons = {QStringLiteral("OK")};
    alert.style = SheetAlert::Style::Critical;
    return alert;
}

} // namespace

PrivScanBlocks::PrivScanBlocks(PrivacyCleaner& cleaner, PrivacyLooks& looks, SheetPresenter& sheets,
                               ModalOverlay& overlay, const QString& supportMail,
                               BrowserProcesses processes)
    : cleaner_(cleaner), looks_(looks), sheets_(sheets), overlay_(overlay),
      supportMail_(supportMail), processes_(std::move(processes))
{}

void PrivScanBlocks::privScanRowActionBlock(qint64 tag, const std::optional<PrivInfoDic>& record,
                                            qint64 /*checkboxState*/, bool cookies, bool history,
                                            bool logsRemoveOperation)
{
    if (tag == kCloseTag || !record) {
        looks_.applyIdleLook();
        overlay_.close();
        return;
    }
    const QString bundleID = record->kBrowserBndlID.value_or(QString());
    if (bundleID.isEmpty() || !processes_.isRunning(bundleID, record->kBrowserName)) {
        cleaner_.removeCookies(cookies, history, *record);
        overlay_.close();
        return;
    }
    sheets_.beginSheetModal(
        browserRunningAlert(*record, supportMail_),
        [this, record = *record, bundleID, cookies, history, logsRemoveOperation](int response) {
            if (response != kAlertFirstButtonReturn) {
                looks_.applyIdleLook();
                return;
            }
            if (logsRemoveOperation)
                qCInfo(lcPrivacy, "remove operation");
            quitThenClean({{record.kBrowserName, bundleID}},
                          [this, record, cookies, history](const QStringList& stillRunning) {
                              if (stillRunning.isEmpty())
                                  cleaner_.removeCookies(cookies, history, record);
                          });
        });
    overlay_.close();
}

void PrivScanBlocks::privScanCleanUpAllBlock(qint64 /*tag*/, const QList<PrivInfoDic>& rows,
                                             qint64 /*checkboxState*/)
{
    QList<RunningBrowser> running;
    for (const PrivInfoDic& row : rows) {
        if (row.kBrowserBndlID && processes_.isRunning(*row.kBrowserBndlID, row.kBrowserName))
            running.append({row.kBrowserName, *row.kBrowserBndlID});
    }
    if (running.isEmpty()) {
        cleanEveryRow(rows);
        overlay_.close();
        return;
    }
    sheets_.beginSheetModal(browsersRunningAlert(running), [this, running, rows](int response) {
        if (response != kAlertFirstButtonReturn) {
            looks_.applyIdleLook();
            return;
        }
        quitThenClean(running, [this, rows](const QStringList& stillRunning) {
            QList<PrivInfoDic> quitRows;
            std::copy_if(
                rows.begin(), rows.end(), std::back_inserter(quitRows),
                [&](const PrivInfoDic& row) { return !stillRunning.contains(row.kBrowserName); });
            cleanEveryRow(quitRows);
        });
    });
    overlay_.close();
}

void PrivScanBlocks::cleanEveryRow(const QList<PrivInfoDic>& rows)
{
    for (const PrivInfoDic& row : rows)
        cleaner_.removeCookies(true, true, row);
}

void PrivScanBlocks::quitThenClean(const QList<RunningBrowser>& browsers,
                                   std::function<void(const QStringList& stillRunning)> clean)
{
    // A browser holds its databases until it has ended: the clean-up waits for that, painting
    // the cleaning look meanwhile so that nothing else is started.
    looks_.applyCleaningLook();
    looks_.showCleaningProgress(kWaitingToQuit, QString(), 0.0);
    struct Waiting {
        qsizetype left;
        QStringList stillRunning;
        std::function<void(const QStringList&)> clean;
    };
    const auto waiting = std::make_shared<Waiting>(Waiting{browsers.size(), {}, std::move(clean)});
    for (const auto& [name, bundleID] : browsers) {
        processes_.quit(bundleID, [this, waiting, name = name](bool ended) {
            if (!ended)
                waiting->stillRunning << name;
            if (--waiting->left > 0)
                return;
            if (!waiting->stillRunning.isEmpty()) {
                looks_.applyIdleLook();
                sheets_.beginSheetModal(stillRunningAlert(waiting->stillRunning), [](int) {});
            }
            waiting->clean(waiting->stillRunning);
        });
    }
}

} // namespace tolvex
