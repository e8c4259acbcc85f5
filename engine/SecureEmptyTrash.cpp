#include "engine/SecureEmptyTrash.h"

#include "engine/FullDiskAccess.h"
#include "engine/HudAlert.h"
#include "engine/PathComponents.h"
#include "engine/Popover.h"
#include "engine/SheetPresenter.h"
#include "engine/ShredRuns.h"
#include "engine/TrashFolders.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsSettings.h"
#include "platform/IncomingPath.h"
#include "platform/NativePath.h"

namespace tolvex {

namespace {

const QString kTrashEmptyMessage = QStringLiteral("Your Trash is Empty");

// Which Trash was left alone and why, one per line.
SheetAlert refusedTrashAlert(const QList<RefusedTrash>& refused)
{
    QStringList lines;
    for (const RefusedTrash& trash : refused) {
        lines.append(readablePath(trash.path) + QStringLiteral(": ") + trash.reason);
    }
    SheetAlert alert;
    alert.messageText = QStringLiteral("Some Trash was left alone");
    alert.informativeText =
        QStringLiteral("Only a Trash that is yours alone is shredded.\n\n") + lines.join(u'\n');
    alert.buttons = {QStringLiteral("OK")};
    return alert;
}

const QString kFullDiskAccessText = QStringLiteral(
    "MacOS Catalina has introduced limited access to some system files and folders.\n\n"
    "While this is a welcome security feature, this limits Tolvex's ability to perform some "
    "of its file destruction features.\n\n"
    "The only mechanism to make it work as expected - is to enable Full Disk Access in System "
    "Preferences>Security & Privacy. This has to be done manually by the user.\n\n"
    "Otherwise, Tolvex will not be able to access file is Trash.\n"
    "New restrictions may apply in future with unexpected outcomes.");

} // namespace

SecureEmptyTrash::SecureEmptyTrash(ShredRuns& runs, HudAlert& hud, Popover& secureTrashPopOver,
                                   SheetPresenter& sheets, FullDiskAccess& fullDiskAccess)
    : runs_(runs), hud_(hud), secureTrashPopOver_(secureTrashPopOver), sheets_(sheets),
      fullDiskAccess_(fullDiskAccess)
{}

void SecureEmptyTrash::secureEmptyShowPop(QObject* sender, qint64 senderTag)
{
    if (fullDiskAccess_.XRRunningOnOSXCatalinaOrLater() &&
        fullDiskAccess_.shouldShowAlertAboutFullDiskAccess()) {
        sheets_.beginSheetModal(fullDiskAccessAlert(kFullDiskAccessText), [this](int response) {
            if (response == kAlertFirstButtonReturn) {
                fullDiskAccess_.askUserPermissionForFullDiskAccess();
            }
        });
        return;
    }
    if (!Utils::defShreddingEnbled()) {
        if (secureTrashPopOver_.isShown()) {
            secureTrashPopOver_.close();
        } else {
            secureTrashPopOver_.showRelativeTo(sender);
        }
        return;
    }
    secureEmptyTrashAction(senderTag);
}

void SecureEmptyTrash::secureEmptyTrashAction(qint64 senderTag)
{
    const TrashSearch trash = TrashFolders::trashFilesFolders();
    QStringList items;
    for (const QString& folder : trash.filesFolders) {
        if (const auto children = Utils::childrenForParentFolderAtURLOneLevelWithHiddenFiles(
                Utils::fileURLWithPath(folder))) {
            items.append(IncomingPath::vettedPaths(*children));
        }
    }
    qint64 pass = senderTag;
    if (Utils::defShreddingEnbled())
        pass = Utils::defShredMethodListId();
    if (pass == 0) {
        Utils::defShredMethodInd(0);
        pass = 1;
    }
    ShredEntryDics records;
    for (const QString& item : items) {
        records.append({item, lastPathComponent(item), pass});
    }
    if (!trash.refused.isEmpty()) {
        sheets_.beginSheetModal(refusedTrashAlert(trash.refused), [](int) {});
    } else if (records.isEmpty()) {
        hud_.alertWithWindow(HudAlertType::information, kTrashEmptyMessage);
    }
    if (secureTrashPopOver_.isShown()) {
        secureTrashPopOver_.close();
    }
    if (!records.isEmpty()) {
        runs_.shredFiles(records, true);
    }
}

} // namespace tolvex
