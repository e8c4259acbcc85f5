#include "privacy/PrivFileRows.h"

#include "platform/NativePath.h"
#include "privacy/NoFollowFolder.h"
#include "privacy/UtilsDatabase.h"

#include <QFileInfo>

namespace tolvex::PrivFileRows {

namespace {

const QString kHiddenPrefix = QStringLiteral(".");

} // namespace

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
    const std::filesystem::path nativePath = toNativePath(path);
    std::error_code error;
    const std::optional<NoFollowFolder> folder = NoFollowFolder::openUnlessLink(nativePath, error);
    if (!folder) {
        // A link standing in for the store is the one item to remove: what it points at belongs
        // to no browser.
        if (std::filesystem::is_symlink(std::filesystem::symlink_status(nativePath, error)))
            return fileRow(path, 1, {path});
        return std::nullopt;
    }
    QStringList children;
    for (const std::string& name : folder->childNames()) {
        const QString child = decodeNativePath(name);
        if (!child.startsWith(kHiddenPrefix))
            children << path + u'/' + child;
    }
    if (children.isEmpty())
        return std::nullopt;
    return fileRow(path, quint64(children.size()), children);
}

} // namespace tolvex::PrivFileRows
