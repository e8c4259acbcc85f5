#include "engine/ItemSizeSnapshot.h"

#include "engine/FolderWalk.h"
#include "engine/UtilsFileSystem.h"
#include "platform/NativePath.h"

#include <QHashFunctions>

namespace tolvex {

ItemSizeSnapshot::ItemSizeSnapshot(const QStringList& paths)
{
    for (const QString& path : paths) {
        std::error_code error;
        const std::filesystem::directory_entry item(toNativePath(path), error);
        if (error || !std::filesystem::exists(item.symlink_status(error))) {
            continue;
        }
        if (!FolderWalk::isFolder(item)) {
            add(path, qint64(Utils::fileSizeAtPath(path)));
            continue;
        }
        add(path, kFolder);
        FolderWalk::walk(path, FolderWalk::OnError::SkipFolder,
                         [this](const std::filesystem::directory_entry& inside) {
                             add(fromNativePath(inside.path()),
                                 FolderWalk::isFolder(inside)
                                     ? kFolder
                                     : qint64(Utils::fileSizeAtPath(inside.path())));
                         });
    }
}

void ItemSizeSnapshot::add(const QString& path, qint64 size)
{
    sizes_[qHash(path)] = size;
}

ItemSizeSnapshot::Entry ItemSizeSnapshot::entry(const QString& path) const
{
    const auto found = sizes_.find(qHash(path));
    if (found == sizes_.end()) {
        return {};
    }
    if (found->second == kFolder) {
        return {Kind::Folder, 0};
    }
    return {Kind::Item, quint64(found->second)};
}

} // namespace tolvex
