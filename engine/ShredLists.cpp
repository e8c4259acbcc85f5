#include "engine/ShredLists.h"

#include "engine/DropViewInfoDic.h"
#include "engine/HudAlert.h"
#include "engine/ListId.h"
#include "engine/ModalOverlay.h"
#include "engine/MountedVolumes.h"
#include "engine/PathComponents.h"
#include "engine/ShredTasks.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsVolumes.h"
#include "engine/ZoneLooks.h"

#include <QCollator>
#include <algorithm>

namespace tolvex {

namespace {

const QString kNotAllowedMessage = QStringLiteral("Shredding of this file/folder is not allowed\n");
const QString kBusyMessage =
    QStringLiteral("Adding files to this shredding task is not allowed while it's running");

QString alreadyAddedMessage(qint64 listId)
{
    return QStringLiteral("Already added to \n%1-pass \nshredding list").arg(listId);
}

} // namespace

ShredLists::ShredLists(const ShredTasks& tasks, ZoneLooks& looks, HudAlert& hud,
                       ModalOverlay& overlay)
    : tasks_(tasks), looks_(looks), hud_(hud), overlay_(overlay)
{}

QStringList ShredLists::filePathsArr(qint64 listId) const
{
    const auto index = listIndex(listId);
    return index ? lists_[*index] : QStringList();
}

void ShredLists::setFilePathsArr(qint64 listId, const QStringList& paths)
{
    if (const auto index = listIndex(listId)) {
        lists_[*index] = paths;
    }
}

quint64 ShredLists::totalFilesPassCountNum(qint64 listId) const
{
    const auto index = listIndex(listId);
    return index ? fileCounts_[*index].load() : 0;
}

void ShredLists::setTotalFilesPassCountNum(qint64 listId, quint64 count)
{
    if (const auto index = listIndex(listId)) {
        fileCounts_[*index].store(count);
    }
}

ShredEntryDics ShredLists::pathsDicsForEditVC() const
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    ShredEntryDics records;
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        QStringList byName = lists_[i];
        std::stable_sort(byName.begin(), byName.end(), [&](const QString& a, const QString& b) {
            return collator.compare(lastPathComponent(a), lastPathComponent(b)) < 0;
        });
        for (const QString& path : byName) {
            records.append({path, lastPathComponent(path), kListIds[i]});
        }
    }
    return records;
}

bool ShredLists::checkIfFilePathIsIInOtherPassArrays(const QString& path, bool fromOpenPanel)
{
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        if (lists_[i].contains(path)) {
            if (!fromOpenPanel) {
                hud_.alertWithWindow(HudAlertType::information, alreadyAddedMessage(kListIds[i]));
            }
            return true;
        }
    }
    return false;
}

bool ShredLists::checkIfParentFolderOfPathisinOtherPassArrays(const QString& path) const
{
    const QString parent = deletingLastPathComponent(path);
    for (const QStringList& list : lists_) {
        for (const QString& entry : list) {
            if (parent == entry || parent.startsWith(entry + u'/')) {
                return true;
            }
        }
    }
    return false;
}

ShredEntryDics ShredLists::checkIfPathsAreParentToPathsinPassArray(const QStringList& paths) const
{
    ShredEntryDics inside;
    for (const QString& folder : paths) {
        const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
        for (std::size_t i = 0; i < kListIds.size(); ++i) {
            for (const QString& entry : lists_[i]) {
                if (entry.startsWith(prefix)) {
                    inside.append({entry, std::nullopt, kListIds[i]});
                }
            }
        }
    }
    return inside;
}

QStringList ShredLists::expandVolumes(const QStringList& paths) const
{
    const QList<MountedVolume> volumes = MountedVolumes::mountedVolumes();
    QStringList expanded = paths;
    for (const QString& path : paths) {
        if (!Utils::checkIfPathIsAVolume(path, volumes)) {
            continue;
        }
        if (const auto children = Utils::childrenForParentFolderAtPathOneLevel(path)) {
            expanded.append(*children);
        }
        expanded.removeAll(path);
    }
    return expanded;
}

std::optional<QStringList>
ShredLists::arrOfFilePathsFromDropView(qint64 dropViewTag, const QStringList& filesFromPasteboard)
{
    if (filesFromPasteboard.isEmpty()) {
        hud_.alertWithWindow(HudAlertType::information, kNotAllowedMessage);
        return std::nullopt;
    }
    const auto index = listIndex(dropViewTag);
    if (!index) {
        return std::nullopt;
    }
    QStringList merged = expandVolumes(filesFromPasteboard);
    // Each path is tested against the stored lists only, not against the other incoming paths.
    const QStringList candidates = merged;
    for (const QString& path : candidates) {
        if (checkIfFilePathIsIInOtherPassArrays(path, false) ||
            checkIfParentFolderOfPathisinOtherPassArrays(path)) {
            merged.removeAll(path);
        }
    }
    if (merged.isEmpty()) {
        return std::nullopt;
    }
    for (const QString& entry : lists_[*index]) {
        if (!merged.contains(entry)) {
            merged.append(entry);
        }
    }
    lists_[*index] = merged;
    return merged;
}

void ShredLists::dropViewDidGetDropWithPasteboard(qint64 dropViewTag, const QVariant& dropView,
                                                  const QMimeData& pasteboard)
{
    if (tasks_.isShredding(dropViewTag)) {
        hud_.alertWithWindow(HudAlertType::information, kBusyMessage);
        return;
    }
    const auto fileNames = Utils::fileNamesOfPasteboard(pasteboard);
    if (!fileNames) {
        return;
    }
    QStringList allowed;
    for (const QString& path : *fileNames) {
        if (!isPathInProtectedLocation(path)) {
            allowed.append(path);
        }
    }
    const auto merged = arrOfFilePathsFromDropView(dropViewTag, allowed);
    if (!merged || merged->isEmpty()) {
        looks_.dropViewExited({dropViewTag, dropView, false});
        return;
    }
    QStringList listed;
    for (const QStringList& list : lists_) {
        listed += list;
    }
    const ShredEntryDics covered = checkIfPathsAreParentToPathsinPassArray(listed);
    if (!covered.isEmpty()) {
        refreshShedPassesConsideringDicPaths(covered, dropViewTag);
    } else {
        looks_.droppedStateForPassViewWithTag(dropViewTag, *merged, false, true);
    }
}

void ShredLists::refreshAllShredPassesWithDicPaths(const ShredEntryDics& dicPaths,
                                                   qint64 dropViewTag)
{
    removeAndRedraw(dicPaths, dropViewTag, Redraw::All);
}

void ShredLists::refreshShedPassesConsideringDicPaths(const ShredEntryDics& dicPaths,
                                                      qint64 dropViewTag)
{
    removeAndRedraw(dicPaths, dropViewTag, Redraw::Considering);
}

// After the removal a list that became empty takes the empty look. A remaining list is drawn
// filled and measured again: always when it is the given tag's list; for the other lists only
// when redrawing everything with the considering variant.
void ShredLists::removeAndRedraw(const ShredEntryDics& dicPaths, qint64 dropViewTag, Redraw redraw)
{
    std::array<QStringList, 3> copies = lists_;
    for (const ShredEntryDic& record : dicPaths) {
        if (const auto index = listIndex(record.passIndx.value_or(0))) {
            copies[*index].removeAll(record.filePath);
        }
    }
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        const qint64 id = kListIds[i];
        if (copies[i].isEmpty()) {
            looks_.resetDefStateForPassViewWithTag(id);
        } else if (id == dropViewTag) {
            looks_.droppedStateForPassViewWithTag(id, copies[i], redraw == Redraw::All, true);
        } else if (redraw == Redraw::Considering) {
            looks_.droppedStateForPassViewWithTag(id, copies[i], true, true);
        }
    }
    lists_ = copies;
}

bool ShredLists::isPathInProtectedLocation(const QString& path) const
{
    const QString parent = deletingLastPathComponent(path);
    if (parent == u"/") {
        return true;
    }
    if (Utils::defFileMoveDestPaths(false).contains(path)) {
        return true;
    }
    const auto home = Utils::checkAndReturnHomeFolderPath(path);
    if (home && parent == *home) {
        return true;
    }
    if (path.startsWith(Utils::getApplicationsFolderPath())) {
        return true;
    }
    return Utils::isFileOrFolderInVisible(path);
}

void ShredLists::editFPathsAction(qint64 index, const ShredEntryDics& records)
{
    if (index != 0) {
        return;
    }
    for (const ShredEntryDic& record : records) {
        const qint64 listId = record.passIndx.value_or(0);
        if (tasks_.isShredding(listId)) {
            break;
        }
        refreshAllShredPassesWithDicPaths(records, listId);
    }
    overlay_.close();
}

} // namespace tolvex
