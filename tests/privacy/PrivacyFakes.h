#pragma once

// The window as a clean-up paints it, recorded step by step, and records of browsers.

#include "../app/AnsweringSheets.h"
#include "engine/HudAlert.h"
#include "engine/ModalOverlay.h"
#include "platform/GlobalQueue.h"
#include "privacy/PrivInfoDic.h"
#include "privacy/PrivacyLooks.h"

#include <QFileInfo>
#include <QStringList>
#include <QTest>

namespace tolvex::testing {

// A progress step as the window below records it.
inline QString progress(const QString& name, const QString& status, double value)
{
    return QStringLiteral("progress %1|%2|%3").arg(name, status).arg(value);
}

// Each look, progress step and notice as one line: "cleaning", "idle",
// "progress <name>|<status>|<value>", "hud <type> <message>"; sheets are answered and kept.
struct RecordingWindow : PrivacyLooks, HudAlert, ModalOverlay, AnsweringSheets {
    RecordingWindow() : AnsweringSheets(kAlertFirstButtonReturn) {}

    QStringList steps;
    int overlayCloses = 0;

    void applyIdleLook() override { steps << QStringLiteral("idle"); }
    void beginSheetModal(const SheetAlert& alert, std::function<void(int)> completion) override
    {
        steps << QStringLiteral("sheet ") + alert.messageText;
        AnsweringSheets::beginSheetModal(alert, std::move(completion));
    }
    void applyCleaningLook() override { steps << QStringLiteral("cleaning"); }
    void showCleaningProgress(const QString& name, const QString& status, double value) override
    {
        steps << testing::progress(name, status, value);
    }
    void alertWithWindow(int type, const QString& message) override
    {
        steps << QStringLiteral("hud %1 %2").arg(type).arg(message);
    }
    void close() override { ++overlayCloses; }

    // Waits until every clean-up started so far has painted its last step.
    void finishCleanUps()
    {
        GlobalQueue::waitForDone();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
};

// An installed browser whose one history row lists `files` and whose cookies are `cookieFiles`;
// the row's path is the first file.
inline PrivInfoDic browserRecord(const QString& name, const QString& bundleID,
                                 const QStringList& files, const QStringList& cookieFiles = {})
{
    const QString path = files.value(0);
    return {.kBrowserName = name,
            .kBrowserNotInstalled = std::nullopt,
            .kBrowserBndlID = bundleID,
            .kBrowserInstallPath =
                QStringLiteral("/usr/share/applications/%1.desktop").arg(bundleID),
            .kBrowserPrivData = {{QFileInfo(path).fileName(), path, 0, files, std::nullopt}},
            .CookieStorage = CookiesDic{cookieFiles.value(0), 0, cookieFiles},
            .kBrowserPrivacyItemsCount = 0,
            .kBrowserPrivacyInFilesCount = quint64(files.size()),
            .kBrowserPrivacyFilesTotalSize = {}};
}

} // namespace tolvex::testing
