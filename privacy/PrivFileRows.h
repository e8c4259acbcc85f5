#pragma once

#include "privacy/PrivInfoDic.h"

#include <QStringList>
#include <optional>

namespace tolvex {

// Builders of the rows of a browser's privacy data.
namespace PrivFileRows {

// Companion files a database leaves beside its main file.
inline const QString kJournal = QStringLiteral("-journal");
inline const QString kSharedMemory = QStringLiteral("-shm");
inline const QString kWriteAheadLog = QStringLiteral("-wal");
// The tables of a URL cache database.
inline const QStringList kUrlCacheTables{QStringLiteral("cfurl_cache_blob_data"),
                                         QStringLiteral("cfurl_cache_receiver_data"),
                                         QStringLiteral("cfurl_cache_response")};

// The rows of `tables` in the database at `path`, added.
quint64 tablesCount(const QString& path, const QStringList& tables);

// A row for a file, whether it exists or not.
PrivFileDic fileRow(const QString& path, quint64 count, const QStringList& filesToRemove);
// A file row for the database at `path` that counts the rows of `tables` and removes the file
// and, beside it, the files named by appending each of `companionSuffixes`.
PrivFileDic databaseRow(const QString& path, const QStringList& tables,
                        const QStringList& companionSuffixes);
// A row that empties a folder and keeps the folder; none when it has no (visible) child. A link
// in the folder's place is listed itself, and the folder's children are listed unresolved.
std::optional<PrivFileDic> folderRow(const QString& path);

} // namespace PrivFileRows

} // namespace tolvex
