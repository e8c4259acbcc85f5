#pragma once

#include "platform/HomeFolder.h"
#include "platform/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sqlite3.h>

// A home folder in a temporary folder, with the system's folders of desktop entries beside it,
// where tests install browsers and give them files. The real home and system stay out of sight.
class FakeBrowserHome {
public:
    FakeBrowserHome() : root_(QDir(dir_.path()).canonicalPath())
    {
        QDir().mkpath(home());
        tolvex::HomeFolder::setForTesting(home());
        for (const char* variable : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
            qunsetenv(variable);
        qputenv("XDG_DATA_DIRS", QFile::encodeName(systemShare()));
        tolvex::Workspace::setSystemRootForTesting(root_ + "/system");
    }

    ~FakeBrowserHome()
    {
        tolvex::Workspace::setSystemRootForTesting({});
        tolvex::HomeFolder::resetForTesting();
    }

    QString home() const { return root_ + "/home"; }
    QString systemShare() const { return root_ + "/share"; }
    QString path(const QString& underHome) const { return home() + '/' + underHome; }
    QString folder(const QString& p) const { return QDir(home()).mkpath(p) ? path(p) : QString(); }
    QString file(const QString& p, const QByteArray& data = "x") const
    {
        return write(path(p), data);
    }

    // A desktop entry `id` named `name` in the user's applications folder, or under `share`.
    QString desktopEntry(const QString& id, const QString& name, const QString& share = {}) const
    {
        const QString folder = (share.isEmpty() ? path(".local/share") : share) + "/applications";
        return write(folder + '/' + id, "[Desktop Entry]\nName=" + name.toUtf8() + '\n');
    }

    // A database with each table (name, rows) holding its number of rows.
    QString database(const QString& underHome, const QList<QPair<QString, int>>& tables) const
    {
        QByteArray script;
        for (const auto& [table, rows] : tables) {
            script += "CREATE TABLE " + table.toUtf8() + " (id INTEGER PRIMARY KEY, value TEXT);";
            for (int row = 0; row < rows; ++row)
                script += "INSERT INTO " + table.toUtf8() + " (value) VALUES ('v');";
        }
        return run(underHome, script);
    }

    // A database as a browser writes it, from a data file of the test's resources.
    QString fixture(const QString& underHome, const QString& name) const
    {
        QFile sql(":/fixtures/" + name + ".sql");
        return sql.open(QIODevice::ReadOnly) ? run(underHome, sql.readAll()) : QString();
    }

private:
    // Nothing here has to survive a power cut: the disk is not waited for.
    QString run(const QString& underHome, const QByteArray& script) const
    {
        const QString file = write(path(underHome), {});
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(file).constData(), &db);
        const QByteArray unsynced = "PRAGMA synchronous=OFF;" + script;
        const int result = sqlite3_exec(db, unsynced.constData(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return result == SQLITE_OK ? file : QString();
    }

    static QString write(const QString& file, const QByteArray& contents)
    {
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(contents);
        return file;
    }

    QTemporaryDir dir_;
    QString root_;
};
