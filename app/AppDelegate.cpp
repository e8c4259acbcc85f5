#include "AppDelegate.h"

#include "app/Addresses.h"
#include "app/DropView.h"
#include "engine/ListId.h"
#include "engine/UtilsSettings.h"
#include "kit/JESCircularProgressView.h"
#include "kit/MRSubtleButton.h"
#include "kit/ProgressIndicator.h"
#include "kit/RobotoFont.h"
#include "kit/UtilsSystem.h"
#include "kit/WAYWindow.h"
#include "platform/SingleInstance.h"
#include "platform/UserDefaults.h"

#include <QDesktopServices>
#include <QLabel>
#include <QUrl>

namespace tolvex {

namespace {

constexpr double kTitleBarHeight = 32.0;
constexpr double kTrafficLightButtonsLeftMargin = 18.0;
constexpr double kTitleFontSize = 14.0;

const QString kStartShredTitle = QStringLiteral("Start Shredding Files");
constexpr double kStartShredFontSize = 18.0;

const QString kStillRunningMessage =
    QStringLiteral("One or more shredding operations are still running!");
const QString kStillRunningInformative = QStringLiteral(
    "Closing this window will terminate all running shred operations.   \n\nWould you still like "
    "to close this window?\n\n You can minimize the window, if needed.");
const QString kDontClose = QStringLiteral("Don't close");
const QString kCloseAndTerminate = QStringLiteral("Close Window and terminate tasks");

const QString kSettingsNotSavedMessage = QStringLiteral("Your settings cannot be saved");
const QString kSettingsNotSavedInformative =
    QStringLiteral("Tolvex cannot write to %1.\n\nChanges to the settings and the shredding "
                   "totals last only until Tolvex quits.");

QColor calibratedRgb(double red, double green, double blue, double alpha)
{
    return QColor::fromRgbF(float(red), float(green), float(blue), float(alpha));
}

} // namespace

AppDelegate::AppDelegate(const QString& helperPath, QObject* parent)
    : QObject(parent), keyboardLayout_{&Utils::checkIfKeyboardIsDvorak,
                                       &Utils::checkIfKeyboardIsAzerty},
      shredLists_(shredTasks_, *this, *this, *this),
      shredRuns_(shredLists_, shredTasks_, *this, *this, *this, *this, helperPath),
      trashPopover_(*this), secureEmptyTrash_(shredRuns_, *this, trashPopover_, *this, *this),
      fileIntake_(shredLists_, shredTasks_, *this, *this, *this),
      secondaryScreens_(outlets_, shredLists_, shredTasks_, *this),
      privacyCleaner_(*this, *this, *this),
      privScanBlocks_(privacyCleaner_, *this, *this, *this, QString(Addresses::supportMail))
{}

AppDelegate::~AppDelegate()
{
    NotificationCenter::defaultCenter().removeObserver(sizeLoadObserver_);
}

void AppDelegate::setDesktopRequests(SingleInstance* requests)
{
    desktopRequests_ = requests;
    if (!requests)
        return;
    connect(requests, &SingleInstance::openFilesRequested, this,
            &AppDelegate::applicationOpenFiles);
    connect(requests, &SingleInstance::reopenRequested, this, [this] {
        applicationShouldHandleReopen(outlets_.window && outlets_.window->isVisible());
    });
}

void AppDelegate::applicationDidFinishLaunching()
{
    sizeLoadObserver_ = NotificationCenter::defaultCenter().addObserver(
        QString::fromLatin1(kSizeLoadDidFinish),
        [this](const Notification& notification) { handleSize(notification); });

    // Writes may fail on the runners' threads too; the sheet comes on this one.
    connect(&UserDefaults::standard(), &UserDefaults::writeFailed, this,
            [this](const QString& path) {
                beginSheetModal({kSettingsNotSavedMessage,
                                 kSettingsNotSavedInformative.arg(path),
                                 {QStringLiteral("OK")},
                                 SheetAlert::Style::Critical},
                                [](int) {});
            });

    preparePrivScanView();

    if (outlets_.startShredBtn)
        outlets_.startShredBtn->setDelegate(this);

    dressWindow();

    if (outlets_.titleBarStrTitleTF)
        outlets_.titleBarStrTitleTF->setFont(
            RobotoFont::named(QStringLiteral("Roboto-Thin"), kTitleFontSize));

    // The empty look hides and disables each zone's clear and reveal buttons.
    for (qint64 tag : kListIds) {
        const ZoneOutlets zone = *zoneOutlets(tag);
        if (zone.mainTF)
            zone.mainTF->setDelegate(this);
        if (zone.dropView) {
            zone.dropView->setDelegate(this);
            zone.dropView->setMDropViewTag(tag);
        }
        resetDefStateForPassViewWithTag(tag);
        if (ProgressIndicator* spinner = zone.progIndicForFilesize) {
            spinner->stopAnimation();
            spinner->hide();
        }
    }

    secondaryScreens_.installActionBlocks();
    installPrivScanBlocks();
    installFreeSpaceEraseAction();

    styleStartButton();

    defaultIndicBounds_ = outlets_.onePassIndic ? outlets_.onePassIndic->bounds() : QRectF();

    registerServicesProvider();

    placeWindowAtStart();
}

void AppDelegate::dressWindow()
{
    WAYWindow* window = outlets_.window;
    if (!window)
        return;
    window->setVibrantDarkAppearance();
    window->setContentViewAppearanceVibrantDark();
    if (!Utils::XRRunningOnOSXBigSurOrLater())
        window->setTitleBarHeight(kTitleBarHeight);
    window->setVerticallyCenterTitle(true);
    window->setCenterTrafficLightButtons(true);
    if (outlets_.titlebar) {
        outlets_.titlebar->setParent(window->titleBarView());
        // Under the window's own buttons and title, which stay clickable and readable.
        outlets_.titlebar->lower();
        outlets_.titlebar->show();
    }
    window->setTrafficLightButtonsLeftMargin(kTrafficLightButtonsLeftMargin);
    window->setHidesTitle(false);
    window->setDelegate(this);
}

void AppDelegate::styleStartButton()
{
    MRSubtleButton* button = outlets_.startShredBtn;
    if (!button)
        return;
    button->setTitleAlignment(MRSubtleButton::AlignmentCentred);
    button->setGradientWithStartColor(calibratedRgb(0.304, 0.927, 0.252, 1.0),
                                      calibratedRgb(0.5, 0.8, 0.0, 0.8));
    button->setHighlightGradientWithStartColor(calibratedRgb(0.304, 0.927, 0.252, 0.8),
                                               calibratedRgb(0.5, 0.8, 0.0, 1.0));
    button->setFontAttributesWithFont(
        RobotoFont::named(QStringLiteral("Roboto-Thin"), kStartShredFontSize), Qt::white);
    button->setTitle(kStartShredTitle);
}

// The desktop file's "Erase with Tolvex" action is this desktop's Services entry; its requests
// arrive through the single-instance channel. The entry itself is installed with the program.
void AppDelegate::registerServicesProvider()
{
    if (desktopRequests_)
        connect(desktopRequests_, &SingleInstance::eraseFilesRequested, this,
                &AppDelegate::serviceMenuShred, Qt::UniqueConnection);
}

bool AppDelegate::refusedWhileShredding()
{
    if (!shredTasks_.isAnyShredding())
        return false;
    alertWithWindow(HudAlertType::information,
                    QStringLiteral("Please wait for shredding tasks to complete"));
    return true;
}

bool AppDelegate::windowShouldClose(WAYWindow* /*sender*/)
{
    if (!shredTasks_.isAnyShredding())
        return true;
    QPointer<AppDelegate> self(this);
    beginSheetModal({kStillRunningMessage,
                     kStillRunningInformative,
                     {kDontClose, kCloseAndTerminate},
                     SheetAlert::Style::Critical},
                    [self](int response) {
                        if (!self || response == kAlertFirstButtonReturn)
                            return;
                        for (qint64 tag : kListIds)
                            self->shredTasks_.terminate(tag);
                        if (self->outlets_.window)
                            self->outlets_.window->close();
                    });
    return false;
}

bool AppDelegate::applicationShouldHandleReopen(bool /*hasVisibleWindows*/)
{
    if (WAYWindow* window = outlets_.window) {
        window->showNormal();
        window->raise();
        window->activateWindow();
    }
    return true;
}

void AppDelegate::visitWebsiteMbaction(QObject* /*sender*/)
{
    QDesktopServices::openUrl(QUrl(QString(Addresses::homePage)));
}

QFont AppDelegate::fontForPassMainTFWithSize(double size)
{
    return RobotoFont::named(QStringLiteral("RobotoCondensed-Bold"), size);
}

QFont AppDelegate::fontForPassDescrTFWithSize(double size)
{
    return RobotoFont::named(QStringLiteral("Roboto-Regular"), size);
}

std::optional<ZoneOutlets> AppDelegate::zoneOutlets(qint64 tag) const
{
    switch (tag) {
    case 1:
        return ZoneOutlets{outlets_.onePassDropView,       outlets_.onePassMainTF,
                           outlets_.onePassDescrTF,        outlets_.onePassIndic,
                           outlets_.progIndicForFilesize1, outlets_.clearRevealView,
                           outlets_.addNewFilesBtn};
    case 7:
        return ZoneOutlets{outlets_.sevenPassDropView,     outlets_.sevenPassMainTF,
                           outlets_.sevenPassDescrTF,      outlets_.sevenPassIndic,
                           outlets_.progIndicForFilesize7, outlets_.clearRevealView7,
                           outlets_.addNewFilesBtn7};
    case 35:
        return ZoneOutlets{outlets_.thirtyFivePassDropView, outlets_.thirtyfPassMainTF,
                           outlets_.thirtyfPassDescrTF,     outlets_.thirtyFivePassIndic,
                           outlets_.progIndicForFilesize35, outlets_.clearRevealView35,
                           outlets_.addNewFilesBtn35};
    default:
        return std::nullopt;
    }
}

} // namespace tolvex
