#include "app/FileIntake.h"

#include "app/DropView.h"
#include "app/FileIntakeHost.h"
#include "app/MethodChooser.h"
#include "engine/HudAlert.h"
#include "engine/ListId.h"
#include "engine/MediaMountRoots.h"
#include "engine/ShredLists.h"
#include "engine/ShredTasks.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsSettings.h"
#include "engine/UtilsVolumes.h"
#include "engine/ZoneLooks.h"
#include "kit/AlertPresenter.h"
#include "platform/IncomingPath.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <algorithm>

namespace tolvex {

namespace {

QString parentFolder(const QString& path)
{
    return QFileInfo(path).path();
}

} // namespace

const QString FileIntake::allMethodsBusyMessage = QStringLiteral(
    "All shred methods are busy. \nPlease try again when at least one is completed.");

const QString FileIntake::chooserInformativeText = QStringLiteral(
    "NOTE: If shredding method is currently busy, its button will show as disabled. \n\nChoose "
    "one of the shredding methods below:");

FileIntake::FileIntake(ShredLists& lists, ShredTasks& tasks, ZoneLooks& looks, HudAlert& hud,
                       FileIntakeHost& host, QObject* parent)
    : QObject(parent), lists_(lists), tasks_(tasks), looks_(looks), hud_(hud), host_(host)
{
    gathering_.setSingleShot(true);
    gathering_.setInterval(gatheringDelayMs);
    connect(&gathering_, &QTimer::timeout, this, &FileIntake::openQueuedFiles);

    addFileAccessoryView = new QLabel(
        QStringLiteral("The files and folders you choose join this shred list. Items already on "
                       "a list are dimmed."));
    addFileAccessoryView->setObjectName(QStringLiteral("addFileAccessoryView"));
    static_cast<QLabel*>(addFileAccessoryView)->setWordWrap(true);
}

FileIntake::~FileIntake()
{
    delete addFileAccessoryView;
}

bool FileIntake::isBusy(qint64 listId) const
{
    return tasks_.isShredding(listId);
}

void FileIntake::addNewFilesToShredPass(qint64 senderTag, QObject* sender)
{
    if (isListId(senderTag) && isBusy(senderTag)) {
        tasks_.terminate(senderTag);
        return;
    }
    QPointer<FileIntake> self(this);
    const FilePanel panel{
        Utils::checkAndReturnHomeFolderPath(QString()).value_or(QString()),
        [self](const QString& path) { return self && self->panelShouldEnableURL(path); },
        [self](const QString& path) { return self && self->panelValidateURL(path); },
        addFileAccessoryView};
    QPointer<QObject> button(sender);
    AlertPresenter::beginFilePanelSheetForWindow(
        panel, host_.mainWindow(),
        [self, senderTag, button](const std::optional<QStringList>& chosen) {
            if (self) {
                self->panelDidEnd(senderTag, button, chosen);
            }
        });
}

void FileIntake::panelDidEnd(qint64 tag, QObject* sender, const std::optional<QStringList>& chosen)
{
    host_.dragEnteredStateForPassViewWithTag(tag);
    // The panel names items as Qt shows them; each is taken as the item it stands for.
    QStringList paths;
    for (const QString& shown : chosen.value_or(QStringList())) {
        if (const std::optional<QString> path = Utils::pathShownAs(shown)) {
            paths.append(*path);
        }
    }
    if (paths.isEmpty()) {
        restoreZone(tag, sender);
        return;
    }
    const std::optional<QStringList> newList = arrOfFilePathsFromAddBtn(tag, paths);
    if (!newList || newList->isEmpty()) {
        restoreZone(tag, sender);
        return;
    }
    lists_.showMergedList(tag, *newList);
}

void FileIntake::restoreZone(qint64 tag, QObject* sender)
{
    looks_.dropViewExited({tag, QVariant::fromValue(sender), false});
}

std::optional<QStringList> FileIntake::arrOfFilePathsFromAddBtn(qint64 listId,
                                                                const QStringList& chosen)
{
    const QStringList paths = IncomingPath::vettedPaths(chosen);
    const QStringList expanded = Utils::expandVolumes(paths);
    if (!isListId(listId)) {
        return std::nullopt;
    }
    // A volume's items are not tested on this road, only the chosen paths.
    const QStringList kept = lists_.withoutListedPaths(expanded, paths);
    if (kept.isEmpty()) {
        return std::nullopt;
    }
    return lists_.storeNewPathsFirst(listId, kept);
}

bool FileIntake::panelShouldEnableURL(const QString& shown)
{
    const std::optional<QString> path = IncomingPath::vetted(shown);
    const std::optional<QString> home = Utils::checkAndReturnHomeFolderPath(QString());
    if (!path || isRefusedInPanel(*path, home)) {
        return false;
    }
    if (home && path->startsWith(*home)) {
        return true;
    }
    return MediaMountRoots::startsWithAny(*path);
}

bool FileIntake::panelValidateURL(const QString& shown)
{
    const std::optional<QString> path = IncomingPath::vetted(shown);
    const std::optional<QString> home = Utils::checkAndReturnHomeFolderPath(QString());
    const bool refused =
        !path || isRefusedInPanel(*path, home) || (home && parentFolder(*path) == *home);
    if (refused) {
        QApplication::beep();
    }
    return !refused;
}

bool FileIntake::isRefusedInPanel(const QString& path, const std::optional<QString>& home)
{
    return lists_.checkIfFilePathIsIInOtherPassArrays(path, true) ||
           Utils::isFolderFromLibraryFolder(path) || (home && path == *home) ||
           path.startsWith(Utils::getApplicationsFolderPath());
}

void FileIntake::serviceMenuShred(const QStringList& paths)
{
    gatherFiles(paths);
}

void FileIntake::applicationOpenFiles(const QStringList& paths)
{
    gatherFiles(paths);
}

void FileIntake::gatherFiles(const QStringList& paths)
{
    if (std::all_of(kListIds.begin(), kListIds.end(), [this](qint64 id) { return isBusy(id); })) {
        hud_.alertWithWindow(HudAlertType::information, allMethodsBusyMessage);
        return;
    }
    const QStringList allowed =
        lists_.pathsOutsideProtectedLocations(IncomingPath::vettedPaths(paths));
    if (!allowed.isEmpty()) {
        queueFilesForOpening(allowed);
    }
}

void FileIntake::queueFilesForOpening(const QStringList& paths)
{
    filesToOpenFromDock += paths;
    gathering_.start();
}

void FileIntake::openQueuedFiles()
{
    if (filesToOpenFromDock.isEmpty()) {
        return;
    }
    if (Utils::defShreddingEnbled()) {
        handOverQueueTo(Utils::defShredMethodListId());
        return;
    }
    askForMethod();
}

void FileIntake::askForMethod()
{
    if (choosing_) {
        AlertPresenter::setSheetMessageText(host_.mainWindow(),
                                            chooserMessage(filesToOpenFromDock.size()));
        return;
    }
    choosing_ = true;
    QPointer<FileIntake> self(this);
    AlertPresenter::beginSheetModalForWindow(
        MethodChooser::alert(chooserMessage(filesToOpenFromDock.size()), chooserInformativeText,
                             {isBusy(35), isBusy(7), isBusy(1)}),
        host_.mainWindow(), [self](int response) {
            if (!self) {
                return;
            }
            self->choosing_ = false;
            switch (response) {
            case MethodChooser::cancelResponse:
                self->filesToOpenFromDock.clear();
                break;
            case MethodChooser::thirtyFivePassResponse:
                self->handOverQueueTo(35);
                break;
            case MethodChooser::sevenPassResponse:
                self->handOverQueueTo(7);
                break;
            case MethodChooser::onePassResponse:
                self->handOverQueueTo(1);
                break;
            default:
                break;
            }
        });
}

// A list that shreds takes nothing: the queue then waits for the next request.
void FileIntake::handOverQueueTo(qint64 listId)
{
    if (isBusy(listId)) {
        return;
    }
    host_.dragEnteredStateForPassViewWithTag(listId);
    addFilesFromDoc(filesToOpenFromDock, host_.dropViewForTag(listId));
    filesToOpenFromDock.clear();
}

void FileIntake::addFilesFromDoc(const QStringList& paths, DropView* dropView)
{
    if (!dropView) {
        return;
    }
    const qint64 tag = dropView->mDropViewTag();
    const std::optional<QStringList> newList = lists_.arrOfFilePathsFromDropView(tag, paths);
    if (!newList || newList->isEmpty()) {
        restoreZone(tag, dropView);
        return;
    }
    lists_.showMergedList(tag, *newList);
}

QString FileIntake::chooserMessage(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 file dropped")
                      : QStringLiteral("%1 files dropped").arg(count);
}

} // namespace tolvex
