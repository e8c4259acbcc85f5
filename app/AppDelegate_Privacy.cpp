#include "AppDelegate.h"
#include "engine/UtilsSettings.h"
#include "kit/BarProgressIndicator.h"
#include "kit/DisableSubviews.h"
#include "kit/RobotoFont.h"
#include "kit/WAYWindow.h"
#include "platform/MainQueue.h"
#include "privacy/PrivScanVC.h"
#include "privacy/UtilsPrivacy.h"

#include <QListWidget>

namespace tolvex {

namespace {

const QString kScanning = QStringLiteral("Scanning...");
constexpr double kStatusFontSize = 13.0;
// Long enough for the scanning look to be drawn before the scan holds the main thread.
constexpr int kScanDelayMs = 100;
// The side the overlay would push the results in from (JMModalOverlay: 1 top, 2 bottom, 3 left,
// 4 right, any other fades): the bottom, as for the editor and the information screens. Only an
// animated overlay uses it, and SecondaryScreens::showInOverlay shows every screen at once.
constexpr int kResultsDirection = 2;

const QString kFullDiskAccessText = QStringLiteral(
    "MacOS Mojave has introduced limited access to some system files and folders.\n\n"
    "While this is a welcome security feature, this limits Tolvex's ability to perform its "
    "file destruction and browser/privacy threats clean up features.\n\n"
    "The only mechanism to make it work as expected - is to enable Full Disk Access in System "
    "Preferences>Security and Privacy tab. This has to be done manually by the user.\n\n"
    "Otherwise, for example, removing Safari's browser history data may be impossible.\n"
    "New restrictions may apply in future with unexpected outcomes.");

} // namespace

void AppDelegate::preparePrivScanView()
{
    if (outlets_.privScanView)
        outlets_.privScanView->hide();
    if (outlets_.privScanStatusLbl)
        outlets_.privScanStatusLbl->setFont(
            RobotoFont::named(QStringLiteral("Roboto-Black"), kStatusFontSize));
}

void AppDelegate::installPrivScanBlocks()
{
    for (const bool vertical : {false, true}) {
        PrivScanVC* screen = privScanVC(vertical);
        if (!screen)
            continue;
        screen->cleanUpAllComplAction = [this](qint64 tag, const QList<PrivInfoDic>& rows,
                                               qint64 state) {
            privScanBlocks_.privScanCleanUpAllBlock(tag, rows, state);
        };
        screen->actionWithIndex = [this, vertical](qint64 tag,
                                                   const std::optional<PrivInfoDic>& record,
                                                   qint64 state, bool cookies, bool history) {
            privScanBlocks_.privScanRowActionBlock(tag, record, state, cookies, history, vertical);
        };
    }
}

void AppDelegate::privacyCleanUp(QObject* /*sender*/)
{
    if (refusedWhileShredding())
        return;
    if (!shouldShowAlertAboutFullDiskAccess()) {
        prepareViewAndStartPrivScan();
        return;
    }
    beginSheetModal(
        fullDiskAccessAlert(kFullDiskAccessText, {QStringLiteral("Continue with limited access")}),
        [this](int response) {
            if (response == kAlertFirstButtonReturn)
                askUserPermissionForFullDiskAccess();
            else if (response == kAlertFirstButtonReturn + 1)
                prepareViewAndStartPrivScan();
        });
}

void AppDelegate::prepareViewAndStartPrivScan()
{
    if (outlets_.privScanNameLbl)
        outlets_.privScanNameLbl->clear();
    showBusyPrivScanView();
    if (BarProgressIndicator* bar = outlets_.privacyScanEraseProgIndic) {
        bar->setIndeterminate(true);
        bar->startAnimation();
    }
    QPointer<AppDelegate> self(this);
    MainQueue::postAfter(kScanDelayMs, [self] {
        if (self)
            self->privScanStart();
    });
}

void AppDelegate::privScanStart()
{
    const bool vertical = Utils::windIsVert_cal();
    QPointer<AppDelegate> self(this);
    Utils::getPrivacyScanInfoArrBlock([self, vertical](const QList<PrivInfoDic>& records) {
        if (self)
            self->showPrivScanResults(vertical, records);
    });
}

void AppDelegate::privacyScanStop(QObject* /*sender*/) {}

void AppDelegate::showPrivScanResults(bool vertical, const QList<PrivInfoDic>& records)
{
    PrivScanVC* screen = privScanVC(vertical);
    if (!screen)
        return;
    screen->setBrowserDicsArr(records);
    screen->privTablView->scrollToTop();
    secondaryScreens_.showInOverlay(screen, kResultsDirection, false, vertical);
}

PrivScanVC* AppDelegate::privScanVC(bool vertical) const
{
    return vertical ? outlets_.privScan_VCvert.data() : outlets_.privScan_VC.data();
}

void AppDelegate::applyIdleLook()
{
    if (outlets_.window)
        disableSubviews(outlets_.window->contentView(), false);
    if (BarProgressIndicator* bar = outlets_.privacyScanEraseProgIndic) {
        bar->setIndeterminate(true);
        bar->stopAnimation();
    }
    if (outlets_.privScanView)
        outlets_.privScanView->hide();
    if (outlets_.startShredBtn)
        outlets_.startShredBtn->show();
}

void AppDelegate::applyCleaningLook()
{
    showBusyPrivScanView();
    if (BarProgressIndicator* bar = outlets_.privacyScanEraseProgIndic) {
        bar->setIndeterminate(false);
        bar->setDoubleValue(0.0);
        bar->startAnimation();
    }
}

void AppDelegate::showBusyPrivScanView()
{
    if (outlets_.window)
        disableSubviews(outlets_.window->contentView(), true);
    if (outlets_.privScanView)
        outlets_.privScanView->show();
    if (outlets_.startShredBtn)
        outlets_.startShredBtn->hide();
    if (outlets_.privScanStatusLbl)
        outlets_.privScanStatusLbl->setText(kScanning);
}

void AppDelegate::showCleaningProgress(const QString& name, const QString& status, double value)
{
    if (outlets_.privScanNameLbl)
        outlets_.privScanNameLbl->setText(name);
    if (outlets_.privScanStatusLbl)
        outlets_.privScanStatusLbl->setText(status);
    if (outlets_.privacyScanEraseProgIndic)
        outlets_.privacyScanEraseProgIndic->setDoubleValue(value);
}

} // namespace tolvex
