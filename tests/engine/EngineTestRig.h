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
#include "engine/UtilsSettings.h"
#include "engine/ZoneLooks.h"
#include "platform/GlobalQueue.h"
#include "platform/HomeFolder.h"
#include "platform/NativePath.h"
#include "platform/Task.h"
#include "platform/UserDefaults.h"

#include <QRegularExpression>
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

    void resetDefStateForPassViewWithTag(qint64 tag) override
    {
        if (lists) {
            lists->setFilePathsArr(tag, {});
            lists->setTotalFilesPassCountNum(tag, 0);
        }
        add("empty", tag);
    }
    void droppedStateForPassViewWithTag(qint64 tag, const QStringList& arrOfPaths, bool isRefresh,
                                        bool refreshSize) override
    {
        add("filled", tag, "[" + arrOfPaths.join(u',') + "]",
            "refresh=" + QString::number(isRefresh), "size=" + QString::number(refreshSize));
    }
    void dropViewExited(const DropViewInfoDic& info) override
    {
        add("exited", info.senderTag, "size=" + QString::number(info.refreshSize.value_or(false)));
    }
    void hideClearRevealView(qint64 tag) override { add("hideClearReveal", tag); }
    void setPassMainTF(qint64 tag, double size, const QString& text) override
    {
        add("mainTF", tag, size, text);
    }
    void setPassDescrTF(qint64 tag, const QString& text) override { add("descrTF", tag, text); }
    void setAddNewFilesBtnImage(qint64 tag, const QString& name) override
    {
        add("addBtn", tag, name);
    }
    void setPassIndicProgress(qint64 tag, double progress, bool animated) override
    {
        add("ring", tag, QString::number(progress) + (animated ? "" : " now"));
    }
    void alertWithWindow(int type, const QString& message) override { add("hud", type, message); }
    void close() override { add("overlay close"); }
    void beginSheetModal(const SheetAlert& alert, std::function<void(int)> completion) override
    {
        add("sheet", alert.messageText, "|", alert.informativeText, "|", alert.buttons.join(u'/'));
        completion(kAlertFirstButtonReturn);
    }
    // Access is granted on Linux.
    bool XRRunningOnOSXCatalinaOrLater() override { return false; }
    bool shouldShowAlertAboutFullDiskAccess() override { return false; }
    void askUserPermissionForFullDiskAccess() override { add("ask full disk access"); }
    void terminate() override { add("terminate"); }

    // Its own object: the popover's close() is not the overlay's.
    struct FakePopover : Popover {
        FakeWindow& window;
        explicit FakePopover(FakeWindow& w) : window(w) {}
        bool isShown() const override { return false; }
        void close() override { window.add("popover close"); }
        void showRelativeTo(QObject*) override { window.add("popover show"); }
    } popover{*this};

    template <typename... Parts> void add(const Parts&... parts)
    {
        log.append(QStringList{QVariant(parts).toString()...}.join(u' '));
        if (onLog)
            onLog(log.last());
    }

    QStringList linesStartingWith(const QString& prefix) const
    {
        return log.filter(QRegularExpression("^" + QRegularExpression::escape(prefix)));
    }
};

// A temporary world: settings, home folder and XDG data home of the test's own, and no mounted
// volumes unless the test lists some.
class TestWorld : public TreeFixture {
public:
    TestWorld() : root(TreeFixture::root()), home(folder(QStringLiteral("home")))
    {
        UserDefaults::setStandardForTesting(root + QStringLiteral("/settings.ini"));
        HomeFolder::setForTesting(home);
        qputenv("XDG_DATA_HOME", folder(QStringLiteral("home/.local/share")).toUtf8());
        MountedVolumes::setForTesting(QList<MountedVolume>{});
    }
    ~TestWorld()
    {
        MountedVolumes::setForTesting(std::nullopt);
        HomeFolder::resetForTesting();
    }

    const QString root;
    const QString home;
};

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
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    }

    FakeWindow window;
    ShredTasks tasks;
    ShredLists lists;
    ShredRuns runs;
    SecureEmptyTrash trash;
};

// Drives the scripted stand-in helper (fake_tolx): the commands its next launches follow, at first
// "destroy", and what each launch was given, one line each, its arguments tab-separated.
struct RunnerScript {
    explicit RunnerScript(const QString& folder)
        : path(folder + QStringLiteral("/script")), log(folder + QStringLiteral("/launches"))
    {
        qputenv("TOLVEX_FAKE_TOLX_LOG", log.toUtf8());
        set({QStringLiteral("destroy")});
    }
    ~RunnerScript()
    {
        qunsetenv("TOLVEX_FAKE_TOLX_SCRIPT");
        qunsetenv("TOLVEX_FAKE_TOLX_LOG");
    }
    void set(const QStringList& commands) const
    {
        QFile script(path);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(commands.join(u'\n').toUtf8() + '\n');
        qputenv("TOLVEX_FAKE_TOLX_SCRIPT", path.toUtf8());
    }
    QStringList launches() const
    {
        QFile file(log);
        return file.open(QIODevice::ReadOnly)
                   ? decodeNativePath(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
                   : QStringList();
    }
    const QString path, log;
};

// The lifetime totals as stored: files, then bytes.
inline std::pair<quint64, quint64> storedTotals()
{
    const TotalShredInfoDic stored = Utils::getTotalShredInfoDic().value_or(TotalShredInfoDic{});
    return {stored.shredFilesCount.value_or(0), stored.shredDataSize.value_or(0)};
}

inline QString fakeHelperPath()
{
    return QCoreApplication::applicationDirPath() + "/fake_tolx";
}

// A test's world, the engine on the stand-in helper and the helper's script, torn down in the
// reverse order so nothing outlives what it paints through.
struct EngineFixture {
    TestWorld world;
    EngineRig rig{fakeHelperPath()};
    RunnerScript script{world.root};
};

} // namespace tolvex::testing
