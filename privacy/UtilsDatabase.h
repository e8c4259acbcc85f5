#pragma once

#include <QString>

namespace tolvex::Utils {

// The rows of one table of a database file; 0 when the file or table is missing or unreadable.
quint64 countRecordsInDBFileAtPath(const QString& path, const QString& tableTitle);
// The rows of one table that removeRecordsInDBFilePath with the same `keptRows` would delete.
quint64 countRecordsInDBFileAtPath(const QString& path, const QString& tableTitle,
                                   const QString& keptRows);

// Deletes every row of one table. Always answers false; no caller reads it.
bool removeAllRecordsInDBFilePath(const QString& path, const QString& tableTitle);

// Deletes the rows of one table except those that `keptRows`, a condition of our own, selects;
// every row when it is empty. Always answers false.
bool removeRecordsInDBFilePath(const QString& path, const QString& tableTitle,
                               const QString& keptRows);

} // namespace tolvex::Utils
