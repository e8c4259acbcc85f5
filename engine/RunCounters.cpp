#include "engine/RunCounters.h"

#include "engine/TotalShredInfoDic.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsSettings.h"

namespace tolvex {

RunCounters::RunCounters(const QStringList& launchedPaths) : launched_(launchedPaths) {}

void RunCounters::count(qint64 listId, const QString& path)
{
    const ItemSizeSnapshot::Entry launched = launched_.entry(path);
    bool counts = false;
    quint64 size = 0;
    switch (launched.kind) {
    case ItemSizeSnapshot::Kind::Folder:
        break;
    case ItemSizeSnapshot::Kind::Item:
        counts = true;
        size = launched.size;
        break;
    case ItemSizeSnapshot::Kind::Unknown: {
        const bool isFolder = Utils::isThisAFolderHere(path);
        counts = listId == 1 ? !isFolder : Utils::itemExistsAtPath(path) && !isFolder;
        size = counts ? Utils::fileSizeAtPath(path) : 0;
        break;
    }
    }
    if (counts) {
        bytes_ += size;
        files_ += 1;
    }
}

void RunCounters::updateTotalShredValueWithFileCount(quint64 fileCount, quint64 dataSize)
{
    TotalShredInfoDic delta;
    delta.shredFilesCount = fileCount;
    delta.shredDataSize = dataSize;
    Utils::overWriteTotalShredInfoDic(delta);
}

} // namespace tolvex
