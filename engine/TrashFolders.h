#pragma once

#include <QList>
#include <QStringList>

namespace tolvex {

// A Trash that was found but is not the user's own to empty, and why.
struct RefusedTrash {
    QString path; // the folder on the way down that failed
    QString reason;

    bool operator==(const RefusedTrash&) const = default;
};

struct TrashSearch {
    QStringList filesFolders;
    QList<RefusedTrash> refused;
};

// The freedesktop Trash of every mounted volume. The volume that holds the home Trash
// ($XDG_DATA_HOME/Trash) uses that one; every other volume its $topdir/.Trash/$uid and
// $topdir/.Trash-$uid. A trashed item lives in the Trash's "files" folder, its .trashinfo in
// the sibling "info" folder.
//
// Anyone who may write to a volume's top folder can make a Trash in another user's name, so a
// Trash counts only when every folder from the top folder down ("files" and "info" included) is
// a real folder, never a link, owned by the user and writable by no one else, and the folder
// holding it does not let every user rename it. $topdir/.Trash, shared by all users, needs its
// sticky bit instead.
class TrashFolders {
public:
    // The "files" folder of each Trash that exists and is the user's own, volume after volume
    // in mount-table order, and each Trash that exists but was left alone.
    static TrashSearch trashFilesFolders();

    // Removes the .trashinfo and the folder-size cache line of each of these Trash items that
    // no longer exists.
    static void removeTrashInfoOfDestroyedItems(const QStringList& itemPaths);
};

} // namespace tolvex
