#include "engine/LoadOperation.h"

#include "engine/FolderWalk.h"
#include "engine/SizeLoadDic.h"
#include "engine/UtilsFileSystem.h"
#include "platform/NotificationCenter.h"

#include <QVariant>

namespace tolvex {

LoadOperation::LoadOperation(const QStringList& paths, qint64 operIDint)
    : SizeOperation(operIDint), loadfPaths_(paths)
{}

void LoadOperation::main()
{
    if (isCancelled()) {
        return;
    }
    const Measure measure = multipleItemsSize(loadfPaths_);
    const SizeLoadDic dic{measure.size, operIDint(), measure.scanTotalFilesCount};
    if (!isCancelled()) {
        NotificationCenter::defaultCenter().post(QString::fromLatin1(kSizeLoadDidFinish),
                                                 QVariant::fromValue(dic));
    }
}

// A symbolic link is an item of its own, as for the shredding helper: a listed link counts as
// one file of the link's size, and the walk does not enter linked folders.
LoadOperation::Measure LoadOperation::multipleItemsSize(const QStringList& paths)
{
    Measure total;
    for (const QString& path : paths) {
        if (FolderWalk::isWalkable(path)) {
            const Measure contents = folderSize(path);
            total.size += contents.size;
            total.scanTotalFilesCount += contents.scanTotalFilesCount;
        } else {
            total.scanTotalFilesCount += 1;
        }
        total.size += Utils::fileSizeAtPath(path);
    }
    return total;
}

LoadOperation::Measure LoadOperation::folderSize(const QString& folder)
{
    Measure measure;
    FolderWalk::walk(folder, FolderWalk::OnError::SkipFolder,
                     [&measure](const std::filesystem::directory_entry& item) {
                         if (!FolderWalk::isFolder(item)) {
                             measure.scanTotalFilesCount += 1;
                             measure.size += Utils::fileSizeAtPath(item.path());
                         }
                     });
    return measure;
}

} // namespace tolvex
