#include "app/SecondaryScreens.h"

#include "app/Addresses.h"
#include "app/EditFilePathsVC.h"
#include "app/MainWindowOutlets.h"
#include "app/PrefsVC.h"
#include "app/infoVC.h"
#include "engine/ListId.h"
#include "engine/SheetPresenter.h"
#include "engine/ShredLists.h"
#include "engine/ShredTasks.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsSettings.h"
#include "kit/JMModalOverlay.h"
#include "kit/UtilsSystem.h"
#include "kit/WAYWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QSysInfo>

namespace tolvex {

namespace {

constexpr int editorDirection = 2;
constexpr int informationDirection = 2;
constexpr int preferencesDirection = 4;
constexpr qint64 preferencesCloseTag = 111;
constexpr qint64 preferencesUpdateTag = 2;
constexpr qint64 preferencesSupportTag = 0;
constexpr qint64 informationCloseTag = 0;

} // namespace

const QString SecondaryScreens::supportMailSubject = QStringLiteral("Tolvex Support and Feedback");

SecondaryScreens::SecondaryScreens(const MainWindowOutlets& outlets, ShredLists& lists,
                                   const ShredTasks& tasks, SheetPresenter& sheets, QObject* parent)
    : QObject(parent), updater(sheets, QUrl(QString(Addresses::appcast))), outlets_(outlets),
      lists_(lists), tasks_(tasks), sheets_(sheets)
{
    editFPathsVC = new EditFilePathsVC(sheets, this);
    editFPathsVC_vert = new EditFilePathsVC_vert(sheets, this);
    preferencesViewContr = new PrefsVC(this);
    preferencesViewContr_vert = new PrefsVC_vert(this);
    informVC = new infoVC(this);
    informVC_vert = new infoVC_vert(this);
}

SecondaryScreens::~SecondaryScreens() = default;

void SecondaryScreens::installActionBlocks()
{
    for (EditFilePathsVC* editor :
         {editFPathsVC, static_cast<EditFilePathsVC*>(editFPathsVC_vert)}) {
        editor->actionWithIndex = [this](qint64 index, ShredEntryDics& removed) {
            lists_.editFPathsAction(index, removed);
        };
    }
    for (PreferencesScreen* screen : {static_cast<PreferencesScreen*>(preferencesViewContr),
                                      static_cast<PreferencesScreen*>(preferencesViewContr_vert)}) {
        screen->actionWithIndex = [this](qint64 tag) { preferencesAction(tag); };
    }
    for (infoVC* screen : {informVC, static_cast<infoVC*>(informVC_vert)}) {
        screen->actionWithIndex = [this](qint64 tag) {
            if (tag == informationCloseTag) {
                closeOverlay();
            }
        };
    }
}

void SecondaryScreens::mouseDownTextFieldClicked(qint64 tag)
{
    if (isListId(tag) && tasks_.isShredding(tag)) {
        return;
    }
    EditFilePathsVC* editor = Utils::windIsVert_cal() ? editFPathsVC_vert : editFPathsVC;
    editor->dicPathsToRemove.clear();
    editor->pathDicsArr = lists_.pathsDicsForEditVC();
    editor->clearSearch();
    editor->setTitleFont();
    editor->titleLbl->setText(EditFilePathsVC::titleForCount(editor->pathDicsArr.size()));
    showInOverlay(editor, editorDirection, false);
}

void SecondaryScreens::showPrefsAction()
{
    showPrefsVCHorizOrVert(Utils::windIsVert_cal());
}

void SecondaryScreens::showPrefsVCHorizOrVert(bool vertical)
{
    PreferencesScreen* screen = vertical
                                    ? static_cast<PreferencesScreen*>(preferencesViewContr_vert)
                                    : static_cast<PreferencesScreen*>(preferencesViewContr);
    screen->defShredMethodCheckbox(screen->defShredCheckBtn);
    screen->totalShredInfoLbl->setText(totalShredInfoText());
    screen->appVersionLbl->setText(QStringLiteral("v. %1").arg(QStringLiteral(TOLVEX_VERSION)));
    if (!vertical) {
        preferencesViewContr->updateSlideButtons();
    }
    showInOverlay(screen, preferencesDirection, true);
}

void SecondaryScreens::showShredInfoHelp()
{
    infoVC* screen = Utils::windIsVert_cal() ? informVC_vert : informVC;
    showInOverlay(screen, informationDirection, true);
}

void SecondaryScreens::showUserDeniedAccessAlert()
{
    sheets_.beginSheetModal(
        {QStringLiteral("Tolvex needs your permission to continue"),
         QStringLiteral("All MacAppStore apps must be Sandboxed. \nThis is a good security tool, "
                        "but this means application needs to request user permission to gain "
                        "read/write file access to those files.\n Please click 'Allow' when "
                        "Tolvex prompts you to. \n\n Should you have any questions, please "
                        "contact: ") +
             Addresses::supportMail,
         {QStringLiteral("OK")},
         SheetAlert::Style::Critical},
        [](int) {});
}

QString SecondaryScreens::totalShredInfoText()
{
    const std::optional<TotalShredInfoDic> totals = Utils::getTotalShredInfoDic();
    if (!totals) {
        return QStringLiteral("-no files shredded yet-");
    }
    return QStringLiteral("%1 in %2 files")
        .arg(Utils::getHumanReadableSizeFrom(qint64(totals->shredDataSize.value_or(0))))
        .arg(totals->shredFilesCount.value_or(0));
}

QString SecondaryScreens::supportMailBody()
{
    return QStringLiteral("\n\n\n\n%1\n%2")
        .arg(QStringLiteral("Tolvex %1").arg(QStringLiteral(TOLVEX_VERSION)),
             QSysInfo::prettyProductName());
}

void SecondaryScreens::preferencesAction(qint64 tag)
{
    switch (tag) {
    case preferencesCloseTag:
        closeOverlay();
        break;
    case preferencesUpdateTag:
        closeOverlay();
        updater.checkForUpdates();
        break;
    case preferencesSupportTag:
        closeOverlay();
        Utils::sendEmailTo(Addresses::supportMail, supportMailBody(), supportMailSubject);
        break;
    default:
        break;
    }
}

void SecondaryScreens::showInOverlay(ViewController* screen, int animationDirection,
                                     bool closesOnBackgroundClick, bool overlaysTitleBar)
{
    JMModalOverlay* overlay = outlets_.modalOverlay;
    if (!overlay || !outlets_.window) {
        return;
    }
    overlay->setContentViewController(screen);
    overlay->setAnimates(false);
    overlay->setAnimationDirection(animationDirection);
    overlay->setShouldOverlayTitleBar(overlaysTitleBar);
    overlay->setShouldCloseWhenClickOnBackground(closesOnBackgroundClick);
    overlay->setAppearance(Appearance::VibrantDark);
    overlay->showInWindow(outlets_.window);
}

void SecondaryScreens::closeOverlay()
{
    if (outlets_.modalOverlay) {
        outlets_.modalOverlay->close();
    }
}

} // namespace tolvex
