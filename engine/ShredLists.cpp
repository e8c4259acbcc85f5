#include "engine/ShredLists.h"

#include "engine/DropViewInfoDic.h"
#include "engine/HudAlert.h"
#include "engine/ListId.h"
#include "engine/ModalOverlay.h"
#include "engine/PathComponents.h"
#include "engine/ShredTasks.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsVolumes.h"
#include "engine/ZoneLooks.h"

#include <QCollator>
#include <QSet>
#include <algorithm>
#include <numeric>
#include <vector>

namespace tolvex {

namespace {

const QString kNotAllowedMessage = QStringLiteral("Shredding of this file/folder is not allowed\n");
const QString kBusyMessage =
    QStringLiteral("Adding files to this shredding task is not allowed while it's running");

// The folders a path must never be listed from, or be. Each asks the system, so a drop of many
// paths reads them once.
struct ProtectedLocations {
    QStringList standardFolders = Utils::defFileMoveDestPaths(false);
    std::optional<QString> home = Utils::checkAndReturnHomeFolderPath(QString());
    QString applications = Utils::getApplicationsFolderPath();

    bool isPathInProtectedLocation(const QString& path) const
    {
        const QString parent = deletingLastPathComponent(path);
        return parent == u"/" || standardFolders.contains(path) || (home && parent == *home) ||
               path.startsWith(applications) || Utils::isFileOrFolderInVisible(path);
    }
};

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
        store(*index, paths);
    }
}

void ShredLists::store(std::size_t index, const QStringList& paths)
{
    if (paths == lists_[index]) {
        return;
    }
    listed_.remove(index, lists_[index]);
    listed_.add(index, paths);
    lists_[index] = paths;
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
        // Each name is cut from its path once, not in every comparison.
        QStringList names;
        for (const QString& path : lists_[i]) {
            names.append(lastPathComponent(path));
        }
        std::vector<qsizetype> byName(std::size_t(lists_[i].size()));
        std::iota(byName.begin(), byName.end(), 0);
        std::stable_sort(byName.begin(), byName.end(), [&](qsizetype a, qsizetype b) {
            return collator.compare(names[a], names[b]) < 0;
        });
        for (const qsizetype entry : byName) {
            records.append({lists_[i][entry], names[entry], kListIds[i]});
        }
    }
    return records;
}

bool ShredLists::checkIfFilePathIsIInOtherPassArrays(const QString& path, bool fromOpenPanel)
{
    const std::optional<std::size_t> list = listed_.firstListHolding(path);
    if (list && !fromOpenPanel) {
        alertAlreadyAdded(*list);
    }
    return list.has_value();
}

void ShredLists::alertAlreadyAdded(std::size_t list)
{
    hud_.alertWithWindow(
        HudAlertType::information,
        QStringLiteral("Already added to \n%1-pass \nshredding list").arg(kListIds[list]));
}

bool ShredLists::checkIfParentFolderOfPathisinOtherPassArrays(const QString& path) const
{
    return listed_.coversFolder(deletingLastPathComponent(path));
}

ShredEntryDics ShredLists::checkIfPathsAreParentToPathsinPassArray() const
{
    ShredEntryDics inside;
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        for (const QString& entry : lists_[i]) {
            if (listed_.holdsFolderAround(entry)) {
                inside.append({entry, std::nullopt, kListIds[i]});
            }
        }
    }
    return inside;
}

// The duplicates' alerts are shown as they are met, but not again and again for one list: a
// drop runs in one go, so only the last alert is ever seen, and each costs the window time.
QStringList ShredLists::withoutListedPaths(const QStringList& paths, const QStringList& tested)
{
    QSet<QString> refused;
    std::optional<std::size_t> alerted;
    for (const QString& path : tested) {
        const std::optional<std::size_t> list = listed_.firstListHolding(path);
        if (list && list != alerted) {
            alerted = list;
            alertAlreadyAdded(*list);
        }
        if (list || checkIfParentFolderOfPathisinOtherPassArrays(path)) {
            refused.insert(path);
        }
    }
    QStringList kept;
    for (const QString& path : paths) {
        if (!refused.contains(path)) {
            kept.append(path);
        }
    }
    return kept;
}

QStringList ShredLists::storeNewPathsFirst(qint64 listId, const QStringList& newPaths)
{
    const auto index = listIndex(listId);
    if (!index) {
        return {};
    }
    // Only a listed path that is new again, or listed twice, can be met a second time.
    QSet<QString> met;
    for (const QString& path : newPaths) {
        if (listed_.count(*index, path) > 0) {
            met.insert(path);
        }
    }
    if (met.isEmpty() && !listed_.hasRepeats(*index)) {
        listed_.add(*index, newPaths);
        lists_[*index] = newPaths + lists_[*index];
        return lists_[*index];
    }
    QStringList merged = newPaths;
    for (const QString& entry : lists_[*index]) {
        if (!met.contains(entry)) {
            merged.append(entry);
        }
        if (listed_.count(*index, entry) > 1) {
            met.insert(entry);
        }
    }
    store(*index, merged);
    return merged;
}

std::optional<QStringList>
ShredLists::arrOfFilePathsFromDropView(qint64 dropViewTag, const QStringList& filesFromPasteboard)
{
    if (filesFromPasteboard.isEmpty()) {
        hud_.alertWithWindow(HudAlertType::information, kNotAllowedMessage);
        return std::nullopt;
    }
    if (!isListId(dropViewTag)) {
        return std::nullopt;
    }
    // Each path is tested against the stored lists only, not against the other incoming paths.
    const QStringList expanded = Utils::expandVolumes(filesFromPasteboard);
    const QStringList kept = withoutListedPaths(expanded, expanded);
    if (kept.isEmpty()) {
        return std::nullopt;
    }
    return storeNewPathsFirst(dropViewTag, kept);
}

void ShredLists::dropViewDidGetDropWithPasteboard(qint64 dropViewTag, const QVariant& dropView,
                                                  const QStringList& fileNames)
{
    if (tasks_.isShredding(dropViewTag)) {
        hud_.alertWithWindow(HudAlertType::information, kBusyMessage);
        return;
    }
    const auto merged =
        arrOfFilePathsFromDropView(dropViewTag, pathsOutsideProtectedLocations(fileNames));
    if (!merged || merged->isEmpty()) {
        looks_.dropViewExited({dropViewTag, dropView, false});
        return;
    }
    showMergedList(dropViewTag, *merged);
}

void ShredLists::showMergedList(qint64 dropViewTag, const QStringList& merged)
{
    const ShredEntryDics covered = checkIfPathsAreParentToPathsinPassArray();
    if (!covered.isEmpty()) {
        refreshShedPassesConsideringDicPaths(covered, dropViewTag);
    } else {
        looks_.droppedStateForPassViewWithTag(dropViewTag, merged, false, true);
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
    std::array<QSet<QString>, 3> removed;
    for (const ShredEntryDic& record : dicPaths) {
        if (const auto index = listIndex(record.passIndx.value_or(0))) {
            removed[*index].insert(record.filePath);
        }
    }
    std::array<QStringList, 3> copies = lists_;
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        if (!removed[i].isEmpty()) {
            copies[i].removeIf([&](const QString& entry) { return removed[i].contains(entry); });
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
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        store(i, copies[i]);
    }
}

QStringList ShredLists::pathsOutsideProtectedLocations(const QStringList& paths) const
{
    const ProtectedLocations locations;
    QStringList allowed;
    for (const QString& path : paths) {
        if (!locations.isPathInProtectedLocation(path)) {
            allowed.append(path);
        }
    }
    return allowed;
}

void ShredLists::editFPathsAction(qint64 index, const ShredEntryDics& records)
{
    if (index != 0) {
        return;
    }
    // The first call takes every record off its list; a later call for a list already redrawn
    // would change nothing and cost a pass over all records, for each record of a cleared list.
    QSet<qint64> redrawn;
    for (const ShredEntryDic& record : records) {
        const qint64 listId = record.passIndx.value_or(0);
        if (tasks_.isShredding(listId)) {
            break;
        }
        if (!redrawn.contains(listId)) {
            redrawn.insert(listId);
            refreshAllShredPassesWithDicPaths(records, listId);
        }
    }
    overlay_.close();
}

} // namespace tolvex
