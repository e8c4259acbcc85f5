#pragma once

// Fakes of the window-side interfaces the engine paints through, and a rig that builds the
// engine's parts on them. Every fake call is logged as one line, in the order made, so tests
// compare exactly what was painted.

#include "TreeFixture.h"
#include "engine/AppTermination.h"
#include "engine/FullDiskAccess.h"
#include "engine/HudAlert.h"
#include "engine/ModalOverlay.h"
#include "engine/MountedVolumes.h"
#include "engine/Popover.h"
#include "engine/SecureEmptyTrash.h"
#include "engine/SheetPresenter.h"
#include "engine/ShredLists.h"
#include "engine/ShredRuns.h"
#include "engine/ShredTasks.h"
#include "engine/ShredZoneControls.h"
#include "engine/ZoneLooks.h"
#include "platform/GlobalQueue.h"
#include "platform/HomeFolder.h"
#include "platform/Task.h"
#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace tolvex::testing {

class FakeWindow : public ZoneLooks,
                   public ShredZoneControls,
                   public HudAlert,
                   public ModalOverlay,
                   public SheetPresenter,
                   public FullDiskAccess,
                   public AppTermination {
public:
    QStringList log;
    // Runs after each logged line, on the main thread.
    std::function<void(const QString& line)> onLog;
    // The lists whose looks the empty look clears, as the main window's does.
    ShredLists* lists = nullptr;

    bool popoverShown = false;
    bool fullDiskAccessMissing = false;
    int nextSheetAnswer = kAlertFirstButtonReturn;

    // ZoneLooks
    void resetDefStateForPassViewWithTag(qint64 tag) override
    {
        if (lists) {
            lists->setFilePathsArr(tag, {});
            lists->setTotalFilesPassCountNum(tag, 0);
        }
        add(QStringLiteral("empty %1").arg(tag));
    }
    void droppedStateForPassViewWithTag(qint64 tag, const QStringList& arrOfPaths, bool isRefresh,
                                        bool refreshSize) override
    {
        add(QStringLiteral("filled %1 [%2] refresh=%3 size=%4")
                .arg(tag)
                .arg(arrOfPaths.join(u','))
                .arg(int(isRefresh))
                .arg(int(refreshSize)));
    }
    void dropViewExited(const DropViewInfoDic& info) override
    {
        add(QStringLiteral("exited %1 size=%2")
                .arg(info.senderTag)
                .arg(int(info.refreshSize.value_or(false))));
    }

    // ShredZoneControls
    void hideClearRevealView(qint64 tag) override
    {
        add(QStringLiteral("hideClearReveal %1").arg(tag));
    }
    void setPassMainTF(qint64 tag, double fontSize, const QString& text) override
    {
        add(QStringLiteral("mainTF %1 %2 %3").arg(tag).arg(fontSize).arg(text));
    }
    void setPassDescrTF(qint64 tag, const QString& text) override
    {
        add(QStringLiteral("descrTF %1 %2").arg(tag).arg(text));
    }
    void setAddNewFilesBtnImage(qint64 tag, const QString& imageName) override
    {
        add(QStringLiteral("addBtn %1 %2").arg(tag).arg(imageName));
    }
    void setPassIndicProgress(qint64 tag, double progress, bool animated) override
    {
        add(QStringLiteral("ring %1 %2%3").arg(tag).arg(progress).arg(animated ? "" : " now"));
    }

    // HudAlert
    void alertWithWindow(int type, const QString& message) override
    {
        add(QStringLiteral("hud %1 %2").arg(type).arg(message));
    }

    // ModalOverlay
    void close() override { add(QStringLiteral("overlay close")); }

    // Popover (its own object: its close() is not the overlay's)
    struct FakePopover : Popover {
        FakeWindow& window;
        explicit FakePopover(FakeWindow& w) : window(w) {}
        bool isShown() const override { return window.popoverShown; }
        void close() override
        {
            window.popoverShown = false;
            window.add(QStringLiteral("popover close"));
        }
        void showRelativeTo(QObject*) override
        {
            window.popoverShown = true;
            window.add(QStringLiteral("popover show"));
        }
    } popover{*this};

    // SheetPresenter
    void beginSheetModal(const SheetAlert& alert, std::function<void(int)> completion) override
    {
        add(QStringLiteral("sheet %1 | %2 | %3")
                .arg(alert.messageText, alert.informativeText, alert.buttons.join(u'/')));
        completion(nextSheetAnswer);
    }

    // FullDiskAccess
    bool XRRunningOnOSXCatalinaOrLater() override { return fullDiskAccessMissing; }
    bool shouldShowAlertAboutFullDiskAccess() override { return fullDiskAccessMissing; }
    void askUserPermissionForFullDiskAccess() override
    {
        add(QStringLiteral("ask full disk access"));
    }

    // AppTermination
    void terminate() override { add(QStringLiteral("terminate")); }

    void add(const QString& line)
    {
        log.append(line);
        if (onLog) {
            onLog(line);
        }
    }

    // The logged lines that start with `prefix`.
    QStringList linesStartingWith(const QString& prefix) const
    {
        QStringList lines;
        for (const QString& line : log) {
            if (line.startsWith(prefix)) {
                lines.append(line);
            }
        }
        return lines;
    }
};

// A temporary world: settings, home folder and XDG data home of the test's own, and no mounted
// volumes unless the test lists some.
class TestWorld : public TreeFixture {
public:
    TestWorld() : root(TreeFixture::root()), home(folder(QStringLiteral("home")))
    {
        folder(QStringLiteral("home/.local/share"));
        UserDefaults::setStandardForTesting(root + QStringLiteral("/settings.ini"));
        HomeFolder::setForTesting(home);
        qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toUtf8());
        MountedVolumes::setForTesting(QList<MountedVolume>{});
    }
    ~TestWorld()
    {
        MountedVolumes::setForTesting(std::nullopt);
        HomeFolder::resetForTesting();
    }

    // `count` empty files "f0", "f1", ... in `relative`.
    QStringList files(const QString& relative, int count) const
    {
        QStringList paths;
        for (int i = 0; i < count; ++i)
            paths.append(file(relative + QStringLiteral("/f%1").arg(i), 0));
        return paths;
    }

    const QString root;
    const QString home;
};

// The engine's parts on a fake window, with the helper at `helperPath`.
class EngineRig {
public:
    explicit EngineRig(const QString& helperPath)
        : lists(tasks, window, window, window),
          runs(lists, tasks, window, window, window, window, helperPath),
          trash(runs, window, window.popover, window, window)
    {
        window.lists = &lists;
    }
    // Lets every run end and its completion work (posted to the main queue) run while the
    // parts it paints through still exist.
    ~EngineRig()
    {
        GlobalQueue::waitForDone();
        QTRY_VERIFY(!tasks.shredTask(1) && !tasks.shredTask(7) && !tasks.shredTask(35));
        QTest::qWait(20);
    }

    FakeWindow window;
    ShredTasks tasks;
    ShredLists lists;
    ShredRuns runs;
    SecureEmptyTrash trash;
};

inline QString binDir()
{
    return qEnvironmentVariable("TOLVEX_BIN_DIR");
}

inline QString fakeHelperPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/fake_tolx");
}

} // namespace tolvex::testing
