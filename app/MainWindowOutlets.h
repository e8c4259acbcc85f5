#pragma once

#include "app/DropView.h"
#include "app/SecureTrashPopover.h"
#include "kit/BarProgressIndicator.h"
#include "kit/JESCircularProgressView.h"
#include "kit/JMModalOverlay.h"
#include "kit/MRSubtleButton.h"
#include "kit/MouseDownTextField.h"
#include "kit/ProgressIndicator.h"
#include "kit/WAYWindow.h"
#include "privacy/PrivScanVC.h"
#include "volumes/FreeSpaceEraseVC.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>

namespace tolvex {

// The main window's objects that AppDelegate works with. MainWindowBuilder makes the window and
// fills these in; the window's object tree owns every one of them. A missing one turns the steps
// that use it into no-ops.
struct MainWindowOutlets {
    QPointer<WAYWindow> window;
    QPointer<QWidget> titlebar;
    QPointer<QLabel> titleBarStrTitleTF;
    QPointer<QAbstractButton> toggleHorizontalVerticalBtn;
    QPointer<MRSubtleButton> startShredBtn;
    QPointer<QAbstractButton> secEmptyTrashBtn;
    QPointer<SecureTrashPopover> secureTrashPopOver;
    QPointer<JMModalOverlay> modalOverlay;
    QPointer<FreeSpaceEraseVC> fse_VC;
    QPointer<PrivScanVC> privScan_VC;
    QPointer<PrivScanVC_vert> privScan_VCvert;

    QPointer<DropView> onePassDropView;
    QPointer<DropView> sevenPassDropView;
    QPointer<DropView> thirtyFivePassDropView;
    QPointer<MouseDownTextField> onePassMainTF;
    QPointer<MouseDownTextField> sevenPassMainTF;
    QPointer<MouseDownTextField> thirtyfPassMainTF;
    QPointer<QLabel> onePassDescrTF;
    QPointer<QLabel> sevenPassDescrTF;
    QPointer<QLabel> thirtyfPassDescrTF;
    QPointer<JESCircularProgressView> onePassIndic;
    QPointer<JESCircularProgressView> sevenPassIndic;
    QPointer<JESCircularProgressView> thirtyFivePassIndic;
    QPointer<ProgressIndicator> progIndicForFilesize1;
    QPointer<ProgressIndicator> progIndicForFilesize7;
    QPointer<ProgressIndicator> progIndicForFilesize35;
    QPointer<QWidget> clearRevealView;
    QPointer<QWidget> clearRevealView7;
    QPointer<QWidget> clearRevealView35;
    QPointer<QAbstractButton> addNewFilesBtn;
    QPointer<QAbstractButton> addNewFilesBtn7;
    QPointer<QAbstractButton> addNewFilesBtn35;

    // The privacy progress view and its parts.
    QPointer<QWidget> privScanView;
    QPointer<BarProgressIndicator> privacyScanEraseProgIndic;
    QPointer<QLabel> privScanStatusLbl;
    QPointer<QLabel> privScanNameLbl;
    QPointer<QAbstractButton> privScanStopBtn;
};

// One drop zone's members, picked by list id.
struct ZoneOutlets {
    DropView* dropView;
    MouseDownTextField* mainTF;
    QLabel* descrTF;
    JESCircularProgressView* indic;
    ProgressIndicator* progIndicForFilesize;
    QWidget* clearRevealView;
    QAbstractButton* addNewFilesBtn;
};

} // namespace tolvex
