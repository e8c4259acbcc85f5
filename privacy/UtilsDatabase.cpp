#include "privacy/UtilsDatabase.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <exception>
#include <memory>
#include <sqlite3.h>

namespace tolvex::Utils {

namespace {

const QString kCountStatement = QStringLiteral("SELECT COUNT(*) FROM %1");
const QString kCountExceptStatement = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE NOT (%2)");
const QString kDeleteStatement = QStringLiteral("DELETE FROM %1");
const QString kDeleteExceptStatement = QStringLiteral("DELETE FROM %1 WHERE NOT (%2)");

struct DatabaseCloser {
    void operator()(sqlite3* database) const { sqlite3_close(database); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// The title is written into the statement unquoted. Titles are our own table-name constants, so
// anything beyond a plain identifier is a programming slip that must not reach the database.
bool isPlainIdentifier(const QString& tableTitle)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return identifier.match(tableTitle).hasMatch();
}

// Opening never creates the file: callers check first that it exists.
Database openDatabase(const QString& path)
{
    sqlite3* handle = nullptr;
    const int result = sqlite3_open(QFile::encodeName(path).constData(), &handle);
    Database database(handle);
    if (result != SQLITE_OK)
        return nullptr;
    return database;
}

Statement prepareStatement(sqlite3* database, const QString& text)
{
    sqlite3_stmt* handle = nullptr;
    const QByteArray statement = text.toUtf8();
    if (sqlite3_prepare_v2(database, statement.constData(), -1, &handle, nullptr) != SQLITE_OK)
        return nullptr;
    return Statement(handle);
}

} // namespace

quint64 countRecordsInDBFileAtPath(const QString& path, const QString& tableTitle)
{
    return countRecordsInDBFileAtPath(path, tableTitle, {});
}

quint64 countRecordsInDBFileAtPath(const QString& path, const QString& tableTitle,
                                   const QString& keptRows)
{
    if (!QFileInfo::exists(path) || !isPlainIdentifier(tableTitle))
        return 0;
    try {
        const Database database = openDatabase(path);
        if (!database)
            return 0;
        const Statement statement = prepareStatement(
            database.get(), keptRows.isEmpty() ? kCountStatement.arg(tableTitle)
                                               : kCountExceptStatement.arg(tableTitle, keptRows));
        if (!statement)
            return 0;
        if (sqlite3_step(statement.get()) != SQLITE_ROW)
            return 0;
        return quint64(sqlite3_column_int(statement.get(), 0));
    } catch (const std::exception&) {
        qInfo().noquote() << QStringLiteral("Error Counting> %1 (%2)").arg(path, tableTitle);
        return 0;
    }
}

bool removeAllRecordsInDBFilePath(const QString& path, const QString& tableTitle)
{
    return removeRecordsInDBFilePath(path, tableTitle, {});
}

bool removeRecordsInDBFilePath(const QString& path, const QString& tableTitle,
                               const QString& keptRows)
{
    if (!QFileInfo::exists(path))
        return false;
    if (countRecordsInDBFileAtPath(path, tableTitle) == 0) {
        qInfo("could not retreave items in table");
        return false;
    }
    const Database database = openDatabase(path);
    if (!database)
        return false;
    const Statement statement = prepareStatement(
        database.get(), keptRows.isEmpty() ? kDeleteStatement.arg(tableTitle)
                                           : kDeleteExceptStatement.arg(tableTitle, keptRows));
    if (!statement)
        return false;
    if (sqlite3_step(statement.get()) == SQLITE_DONE)
        qInfo().noquote() << QStringLiteral("Table tableTitle %1").arg(tableTitle);
    return false;
}

} // namespace tolvex::Utils
