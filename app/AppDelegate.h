#pragma once

#include "app/DropViewDelegate.h"
#include "app/EventDelegatingViewDelegate.h"
#include "app/FileIntake.h"
#include "app/FileIntakeHost.h"
#include "app/MainWindowOutlets.h"
#include "app/SecondaryScreens.h"
#include "app/ShortcutTable.h"
#include "engine/AppTermination.h"
#include "engine/FullDiskAccess.h"
#include "engine/HudAlert.h"
#include "engine/ModalOverlay.h"
#include "engine/Popover.h"
#include "engine/SecureEmptyTrash.h"
#include "engine/SheetPresenter.h"
#include "engine/ShredLists.h"
#include "engine/ShredRuns.h"
#include "engine/ShredTasks.h"
#include "engine/ShredZoneControls.h"
#include "engine/SizeLoadDic.h"
#include "engine/SizeMeasurement.h"
#include "engine/ZoneLooks.h"
#include "kit/JMModalOverlay.h"
#include "kit/MRSubtleButtonDelegate.h"
#include "kit/MouseDownTextField.h"
#include "kit/WindowDelegate.h"
#include "platform/NotificationCenter.h"
#include "privacy/PrivScanBlocks.h"
#include "privacy/PrivacyCleaner.h"
#include "privacy/PrivacyLooks.h"
#include "volumes/EraseFreeSpaceRunner.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <optional>

namespace tolvex {

class PrivScanVC;
class PrivScanVC_vert;
class SingleInstance;

// The application's delegate and the controller of its one main window. It owns the shred
// lists, the size measurements, the shred runs and Secure Empty Trash, and paints the window
// for them: they reach the window only through the interfaces it implements here. Its methods
// are spread over files by topic (AppDelegate_*.cpp). Main thread only, unless a method says
// otherwise.
class AppDelegate : public QObject,
                    public DropViewDelegate,
                    public EventDelegatingViewDelegate,
                    public MRSubtleButtonDelegate,
                    public WindowDelegate,
                    public ZoneLooks,
                    public ShredZoneControls,
                    public HudAlert,
                    public ModalOverlay,
                    public SheetPresenter,
                    public FullDiskAccess,
                    public AppTermination,
                    public FileIntakeHost,
                    public MouseDownTextFieldDelegate,
                    public JMModalOverlayDelegate,
                    public PrivacyLooks {
    Q_OBJECT

public:
    // `helperPath`: the shredding helper the runs launch.
    explicit AppDelegate(const QString& helperPath = ShredRuns::defaultHelperPath(),
                         QObject* parent = nullptr);
    ~AppDelegate() override;

    // The objects of the main window; MainWindowBuilder fills them in before start-up.
    MainWindowOutlets& outlets() { return outlets_; }
    const MainWindowOutlets& outlets() const { return outlets_; }

    // The engine parts, for the screens and for tests.
    ShredLists& shredLists() { return shredLists_; }
    ShredTasks& shredTasks() { return shredTasks_; }
    ShredRuns& shredRuns() { return shredRuns_; }

    // --- Start-up, window close and re-open (AppDelegate.cpp)
    // Where the desktop's requests come from: files to open, files for the "Erase with Tolvex"
    // action and re-launches. Open and re-open requests reach the delegate from now on; the
    // erase action once start-up has registered the delegate as its provider.
    void setDesktopRequests(SingleInstance* requests);
    void applicationDidFinishLaunching();
    bool windowShouldClose(WAYWindow* sender) override;
    static bool applicationShouldTerminateAfterLastWindowClosed() { return true; }
    bool applicationShouldHandleReopen(bool hasVisibleWindows);
    static QFont fontForPassMainTFWithSize(double size);
    static QFont fontForPassDescrTFWithSize(double size);
    // Opens the maker's home page.
    void visitWebsiteMbaction(QObject* sender);
    // The zone members of list `tag`, or nothing for another id.
    std::optional<ZoneOutlets> zoneOutlets(qint64 tag) const;

    // --- Zone looks and zone callbacks (AppDelegate_DropZones.cpp)
    void resetDefStateForPassViewWithTag(qint64 tag) override;
    void dragEnteredStateForPassViewWithTag(qint64 tag);
    void droppedStateForPassViewWithTag(qint64 tag, const QStringList& arrOfPaths, bool isRefresh,
                                        bool refreshSize) override;
    // The observer of kSizeLoadDidFinish; any thread.
    void handleSize(const Notification& notification);
    void mainThread_handleSize(const SizeLoadDic& sizeLoad);
    void stopsizeProgressForID(qint64 tag);
    void dropViewDidGetDropWithPasteboard(DropView* dropView,
                                          const QStringList& fileNames) override;
    void dropViewEntered(const DropViewInfoDic& info) override;
    void dropViewExited(const DropViewInfoDic& info) override;
    void clearPathsArrAction(QObject* sender);
    void revealInFinderAction(QObject* sender);
    // The ring bounds of every zone at rest, taken at start-up.
    QRectF defaultIndicBounds() const { return defaultIndicBounds_; }

    // --- Layouts (AppDelegate_Layouts.cpp)
    void toggleWindowHorizontal(QObject* sender = nullptr);
    // The stored layout when it fits the screen, else the other one; the window centred.
    void placeWindowAtStart();

    // --- Keyboard and start button (AppDelegate_Shortcuts.cpp)
    void viewDidHandleEvent(QWidget* view, QKeyEvent* event) override;
    void subtleButtonEvent(QMouseEvent* event, MRSubtleButton* from) override;

    // --- Secure Empty Trash (AppDelegate_SecureEmptyTrash.cpp)
    void secureEmptyShowPop(QObject* sender);
    void secureEmptyTrashAction(QObject* sender);

    // --- What the engine parts paint and ask through (AppDelegate_EngineWindow.cpp)
    void hideClearRevealView(qint64 tag) override;
    void setPassMainTF(qint64 tag, double fontSize, const QString& text) override;
    void setPassDescrTF(qint64 tag, const QString& text) override;
    void setAddNewFilesBtnImage(qint64 tag, const QString& imageName) override;
    void setPassIndicProgress(qint64 tag, double progress, bool animated) override;
    void alertWithWindow(int type, const QString& message) override;
    // Tells the user to wait when a list is shredding, and then answers true.
    bool refusedWhileShredding();
    void close() override;
    void beginSheetModal(const SheetAlert& alert,
                         std::function<void(int response)> completionHandler) override;
    bool XRRunningOnOSXCatalinaOrLater() override;
    bool shouldShowAlertAboutFullDiskAccess() override;
    void askUserPermissionForFullDiskAccess() override;
    void terminate() override;

    // --- File intake (AppDelegate_FileIntake.cpp)
    FileIntake& fileIntake() { return fileIntake_; }
    void addNewFilesToShredPass(QObject* sender);
    void serviceMenuShred(const QStringList& paths);
    void applicationOpenFiles(const QStringList& paths);
    DropView* dropViewForTag(qint64 tag) override;
    QWidget* mainWindow() override;

    // --- Editor, preferences and information screens (AppDelegate_Screens.cpp)
    SecondaryScreens& secondaryScreens() { return secondaryScreens_; }
    void mouseDownTextFieldClicked(MouseDownTextField* field) override;
    void showPrefsAction(QObject* sender = nullptr);
    void showPrefsVCHorizOrVert(bool vertical);
    void showShredInfoHelp(QObject* sender = nullptr);
    void showUserDeniedAccessAlert();
    void modalOverlayDidClose(const Notification& notification) override;

    // --- Privacy scan and clean-up (AppDelegate_Privacy.cpp)
    // The results screen of the vertical or horizontal layout.
    PrivScanVC* privScanVC(bool vertical) const;
    PrivacyCleaner& privacyCleaner() { return privacyCleaner_; }
    PrivScanBlocks& privScanBlocks() { return privScanBlocks_; }
    void privacyCleanUp(QObject* sender = nullptr);
    void prepareViewAndStartPrivScan();
    void privScanStart();
    void privacyScanStop(QObject* sender);
    void applyIdleLook() override;
    void applyCleaningLook() override;
    void showCleaningProgress(const QString& name, const QString& status, double value) override;
    // --- Volumes screen and volume helper (AppDelegate_Volumes.cpp)
    void eraseDiskSpace(QObject* sender = nullptr);
    // The volumes screen's action block.
    void freeSpaceEraseAction(qint64 tag, const std::optional<VolDic>& volume, bool eraseFreeSpace,
                              bool reveal);
    // Blocks until the helper exits; any thread that may wait. Nothing in the program calls it.
    void runEraseFreeSpaceTask(const VolDic& volume);
    std::shared_ptr<Task> eraseFrSpTask() const { return eraseFreeSpaceRunner_.eraseFrSpTask(); }

private:
    // The trash button's popover as the engine sees it.
    class TrashPopover : public Popover {
    public:
        explicit TrashPopover(AppDelegate& delegate) : delegate_(delegate) {}
        bool isShown() const override;
        void close() override;
        void showRelativeTo(QObject* sender) override;

    private:
        AppDelegate& delegate_;
    };

    void dressWindow();
    void styleStartButton();
    void registerServicesProvider();
    void shredEverything();
    void placeZones(bool vertical, QSize windowSize);
    // Where the last layout switch took the window from, and where it put it.
    struct LayoutSwitch {
        QPoint from;
        QPoint to;
    };
    void preparePrivScanView();
    void installPrivScanBlocks();
    void showBusyPrivScanView();
    void showPrivScanResults(bool vertical, const QList<PrivInfoDic>& records);
    void installFreeSpaceEraseAction();

    MainWindowOutlets outlets_;
    QRectF defaultIndicBounds_;
    std::optional<LayoutSwitch> lastLayoutSwitch_;
    KeyboardLayoutTests keyboardLayout_;
    NotificationCenter::Token sizeLoadObserver_ = 0;
    QPointer<SingleInstance> desktopRequests_;

    ShredTasks shredTasks_;
    ShredLists shredLists_;
    SizeMeasurement sizeMeasurement_;
    ShredRuns shredRuns_;
    TrashPopover trashPopover_;
    SecureEmptyTrash secureEmptyTrash_;
    FileIntake fileIntake_;
    SecondaryScreens secondaryScreens_;
    PrivacyCleaner privacyCleaner_;
    PrivScanBlocks privScanBlocks_;
    EraseFreeSpaceRunner eraseFreeSpaceRunner_;
};

} // namespace tolvex
