#pragma once

#include <QList>
#include <QString>
#include <system_error>
#include <utility>

namespace tolvex::Utils {

// The rows of one table of a database file; 0 when the file or table is missing or unreadable.
quint64 countRecordsInDBFileAtPath(const QString& path, const QString& tableTitle);
// The rows of one table that emptyTablesInDBFilePath with the same `keptRows` would delete.
quint64 countRecordsInDBFileAtPath(const QString& path, const QString& tableTitle,
                                   const QString& keptRows);

// A table to empty, and a condition of our own that selects the rows it keeps (none when empty).
using TableEmptying = std::pair<QString, QString>;

// Empties the tables of the database at `path` in one transaction, so that the browser never
// finds some of them emptied and the others not; a table the database lacks is passed over. The
// database is opened only when no component of `path` is a link. No error when it is done, else
// SQLite's code of why nothing was changed.
std::error_code emptyTablesInDBFilePath(const QString& path, const QList<TableEmptying>& tables);

} // namespace tolvex::Utils
