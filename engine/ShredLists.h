#pragma once

#include "engine/ListedPaths.h"
#include "engine/ShredEntryDic.h"

#include <QStringList>
#include <array>
#include <atomic>
#include <optional>

class QVariant;

namespace tolvex {

class HudAlert;
class ModalOverlay;
class ShredTasks;
class ZoneLooks;

// The three shred lists (onePFilePathsArr, sevenPFilePathsArr, thirtyPFilePathsArr), the rules
// that keep a path off them, the drop road, the removals with their redraws and the editor's
// action. Every list change replaces the whole list. Main thread only, except the per-list file
// counts, which the runners read and set from their own threads.
class ShredLists {
public:
    ShredLists(const ShredTasks& tasks, ZoneLooks& looks, HudAlert& hud, ModalOverlay& overlay);

    // The list `listId`; empty for another id.
    QStringList filePathsArr(qint64 listId) const;
    // Replaces the list `listId` (the empty look clears it; the open panel stores its merge).
    void setFilePathsArr(qint64 listId, const QStringList& paths);

    // The list's file count from its last size measurement (totalFilesPass1CountNum, ...).
    quint64 totalFilesPassCountNum(qint64 listId) const;
    void setTotalFilesPassCountNum(qint64 listId, quint64 count);

    // One record per entry of every list: list 1, then 7, then 35, each sorted by file name.
    ShredEntryDics pathsDicsForEditVC() const;

    // YES when a list holds exactly this path; unless fromOpenPanel, the HUD names that list.
    bool checkIfFilePathIsIInOtherPassArrays(const QString& path, bool fromOpenPanel);
    // YES when a listed entry is the path's parent folder or contains it.
    bool checkIfParentFolderOfPathisinOtherPassArrays(const QString& path) const;
    // Removal records of the listed entries that lie inside another listed entry, a folder: one
    // per entry, by list and in list order.
    ShredEntryDics checkIfPathsAreParentToPathsinPassArray() const;

    // `paths` without every path of `tested` that a list holds or a listed folder covers. A
    // path on a list shows the HUD that names the list, unless the last one named it already.
    QStringList withoutListedPaths(const QStringList& paths, const QStringList& tested);
    // Stores `newPaths` followed by the entries of list `listId` they do not hold: the new list.
    QStringList storeNewPathsFirst(qint64 listId, const QStringList& newPaths);

    // Merges incoming paths into the list `dropViewTag`: the stored list, or nothing when no
    // path was added.
    std::optional<QStringList> arrOfFilePathsFromDropView(qint64 dropViewTag,
                                                          const QStringList& filesFromPasteboard);

    // The drop zone `dropView` with list id `dropViewTag` accepted a drag of `fileNames`, the
    // paths the zone read from it (Utils::fileNamesOfPasteboard).
    void dropViewDidGetDropWithPasteboard(qint64 dropViewTag, const QVariant& dropView,
                                          const QStringList& fileNames);
    // After `merged` was stored as list `dropViewTag`: listed entries that now lie inside
    // another leave their lists, and the zones are redrawn.
    void showMergedList(qint64 dropViewTag, const QStringList& merged);

    // Take the records' paths off their lists and redraw the zones (see the .cpp for which
    // zones are measured again).
    void refreshAllShredPassesWithDicPaths(const ShredEntryDics& dicPaths, qint64 dropViewTag);
    void refreshShedPassesConsideringDicPaths(const ShredEntryDics& dicPaths, qint64 dropViewTag);

    // The paths that may be listed, in order: not the root's items, the standard user folders,
    // the home folder's items, programs or hidden items.
    QStringList pathsOutsideProtectedLocations(const QStringList& paths) const;

    // The shred-list editor's action: `index` is the button used, `records` what was removed.
    void editFPathsAction(qint64 index, const ShredEntryDics& records);

private:
    enum class Redraw { All, Considering };
    void removeAndRedraw(const ShredEntryDics& dicPaths, qint64 dropViewTag, Redraw redraw);
    void alertAlreadyAdded(std::size_t list);
    // Every change of a list goes through here, so that the index follows it.
    void store(std::size_t index, const QStringList& paths);

    const ShredTasks& tasks_;
    ZoneLooks& looks_;
    HudAlert& hud_;
    ModalOverlay& overlay_;
    std::array<QStringList, 3> lists_;
    ListedPaths listed_;
    std::array<std::atomic<quint64>, 3> fileCounts_{};
};

} // namespace tolvex
