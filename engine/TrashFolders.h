#pragma once

#include <QStringList>

namespace tolvex {

// The freedesktop Trash of every mounted volume. The volume that holds the home Trash
// ($XDG_DATA_HOME/Trash) uses that one; every other volume its $topdir/.Trash/$uid and
// $topdir/.Trash-$uid. A trashed item lives in the Trash's "files" folder, its .trashinfo in
// the sibling "info" folder.
class TrashFolders {
public:
    // The "files" folder of each Trash that exists, volume after volume in mount-table order.
    static QStringList trashFilesFolders();

    // Removes the .trashinfo of each of these Trash items that no longer exists.
    static void removeTrashInfoOfDestroyedItems(const QStringList& itemPaths);
};

} // namespace tolvex
