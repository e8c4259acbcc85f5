#include "privacy/PrivFileRows.h"

#include "engine/UtilsFileSystem.h"
#include "privacy/UtilsDatabase.h"

#include <QFileInfo>

namespace tolvex::PrivFileRows {

quint64 tablesCount(const QString& path, const QStringList& tables)
{
    quint64 count = 0;
    for (const QString& table : tables)
        count += Utils::countRecordsInDBFileAtPath(path, table);
    return count;
}

PrivFileDic fileRow(const QString& path, quint64 count, const QStringList& filesToRemove)
{
    return PrivFileDic{QFileInfo(path).fileName(), path, count, filesToRemove, std::nullopt};
}

PrivFileDic databaseRow(const QString& path, const QStringList& tables,
                        const QStringList& companionSuffixes)
{
    QStringList files{path};
    for (const QString& suffix : companionSuffixes)
        files << path + suffix;
    return fileRow(path, tablesCount(path, tables), files);
}

std::optional<PrivFileDic> folderRow(const QString& path)
{
    const std::optional<QStringList> children = Utils::childrenForParentFolderAtPathOneLevel(path);
    if (!children || children->isEmpty())
        return std::nullopt;
    return fileRow(path, quint64(children->size()), *children);
}

} // namespace tolvex::PrivFileRows
