#pragma once

#include "app/Updater.h"

#include <QObject>

namespace tolvex {

class EditFilePathsVC;
class EditFilePathsVC_vert;
class HLwc;
class PreferencesScreen;
class PrefsVC;
class PrefsVC_vert;
class SheetPresenter;
class ShredLists;
class ShredTasks;
class ViewController;
class infoVC;
class infoVC_vert;
struct MainWindowOutlets;

// AppDelegate's side of the shred-list editor, the preferences and the information screens:
// the screens of both layouts, showing them in the modal overlay, and their action blocks.
class SecondaryScreens : public QObject {
    Q_OBJECT

public:
    SecondaryScreens(const MainWindowOutlets& outlets, ShredLists& lists, const ShredTasks& tasks,
                     SheetPresenter& sheets, QObject* parent = nullptr);
    ~SecondaryScreens() override;

    EditFilePathsVC* editFPathsVC = nullptr;
    EditFilePathsVC_vert* editFPathsVC_vert = nullptr;
    PrefsVC* preferencesViewContr = nullptr;
    PrefsVC_vert* preferencesViewContr_vert = nullptr;
    infoVC* informVC = nullptr;
    infoVC_vert* informVC_vert = nullptr;
    // The promotion window's controller; nothing opens it yet.
    HLwc* harlightAdWC = nullptr;
    Updater updater;

    // Start-up: the action blocks of the six screens.
    void installActionBlocks();

    // A click on a zone's big label (tag: its list id) opens the editor.
    void mouseDownTextFieldClicked(qint64 tag);
    void showPrefsAction();
    void showPrefsVCHorizOrVert(bool vertical);
    void showShredInfoHelp();
    void showUserDeniedAccessAlert();

    // The totals line of the preferences screen.
    static QString totalShredInfoText();
    static QString supportMailBody();
    static const QString supportMailSubject;

    // Shows `screen` in the overlay, over the title bar too unless told otherwise.
    void showInOverlay(ViewController* screen, int animationDirection, bool closesOnBackgroundClick,
                       bool overlaysTitleBar = true);

private:
    void closeOverlay();
    void preferencesAction(qint64 tag);

    const MainWindowOutlets& outlets_;
    ShredLists& lists_;
    const ShredTasks& tasks_;
    SheetPresenter& sheets_;
};

} // namespace tolvex
