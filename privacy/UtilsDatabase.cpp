#include "privacy/UtilsDatabase.h"

#include "platform/NativePath.h"
#include "privacy/PrivacyLog.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <exception>
#include <memory>
#include <sqlite3.h>
#include <string>

namespace tolvex::Utils {

namespace {

const QString kCountStatement = QStringLiteral("SELECT COUNT(*) FROM %1");
const QString kCountExceptStatement = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE NOT (%2)");
const QString kDeleteStatement = QStringLiteral("DELETE FROM %1");
const QString kDeleteExceptStatement = QStringLiteral("DELETE FROM %1 WHERE NOT (%2)");
const QString kHasTableStatement =
    QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '%1'");
// Immediate: the write lock is taken at once, so a browser holding the database fails the
// transaction before anything is deleted.
constexpr const char* kBeginImmediate = "BEGIN IMMEDIATE";
// Deleted rows are overwritten with zeros, so no visited address stays readable in the free pages
// of a database the browser keeps (not every SQLite build does so by default).
constexpr const char* kSecureDelete = "PRAGMA secure_delete = ON";
constexpr const char* kCommit = "COMMIT";
constexpr const char* kRollback = "ROLLBACK";

struct DatabaseCloser {
    void operator()(sqlite3* database) const { sqlite3_close(database); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// SQLite's result codes as error codes, so that a database's failure reads as a file's does.
class SqliteCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "SQLite"; }
    std::string message(int code) const override { return sqlite3_errstr(code); }
};

std::error_code sqliteError(int code)
{
    static const SqliteCategory category;
    return {code, category};
}

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
    const int result = sqlite3_open(encodeNativePath(path).constData(), &handle);
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

// The title is a plain identifier, checked before.
bool hasTable(sqlite3* database, const QString& table)
{
    const Statement statement = prepareStatement(database, kHasTableStatement.arg(table));
    return statement && sqlite3_step(statement.get()) == SQLITE_ROW;
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
        qCInfo(lcPrivacy).noquote()
            << QStringLiteral("Error Counting> %1 (%2)").arg(path, tableTitle);
        return 0;
    }
}

std::error_code emptyTablesInDBFilePath(const QString& path, const QList<TableEmptying>& tables)
{
    for (const auto& [table, keptRows] : tables) {
        if (!isPlainIdentifier(table))
            return sqliteError(SQLITE_MISUSE);
    }
    sqlite3* handle = nullptr;
    const int opened = sqlite3_open_v2(encodeNativePath(path).constData(), &handle,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr);
    const Database database(handle);
    if (opened != SQLITE_OK)
        return sqliteError(opened);
    const auto failed = [&] {
        const std::error_code error = sqliteError(sqlite3_errcode(database.get()));
        sqlite3_exec(database.get(), kRollback, nullptr, nullptr, nullptr);
        return error;
    };
    if (sqlite3_exec(database.get(), kSecureDelete, nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(database.get(), kBeginImmediate, nullptr, nullptr, nullptr) != SQLITE_OK)
        return failed();
    for (const auto& [table, keptRows] : tables) {
        if (!hasTable(database.get(), table)) {
            qCInfo(lcPrivacy, "could not retreave items in table");
            continue;
        }
        const QByteArray statement =
            (keptRows.isEmpty() ? kDeleteStatement.arg(table)
                                : kDeleteExceptStatement.arg(table, keptRows))
                .toUtf8();
        if (sqlite3_exec(database.get(), statement.constData(), nullptr, nullptr, nullptr) !=
            SQLITE_OK)
            return failed();
        qCInfo(lcPrivacy).noquote() << QStringLiteral("Table tableTitle %1").arg(table);
    }
    if (sqlite3_exec(database.get(), kCommit, nullptr, nullptr, nullptr) != SQLITE_OK)
        return failed();
    return {};
}

} // namespace tolvex::Utils
