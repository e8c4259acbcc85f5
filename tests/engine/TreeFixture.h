#pragma once

#include "platform/NativePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <fcntl.h>
#include <fstream>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

// Builds file trees in a temporary folder of its own.
class TreeFixture {
public:
    TreeFixture() : root_(QDir(dir_.path()).canonicalPath()) {}

    // QTemporaryDir cannot remove paths longer than PATH_MAX; rm can.
    ~TreeFixture() { QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), root_}); }

    const QString& root() const { return root_; }
    QString path(const QString& relative) const { return root_ + QLatin1Char('/') + relative; }

    QString folder(const QString& relative) const
    {
        QDir().mkpath(path(relative));
        return path(relative);
    }

    // A file of `bytes` bytes, written or, with `holes`, all holes: nothing allocated.
    QString file(const QString& relative, qint64 bytes = 1, bool holes = false) const
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        file.open(QIODevice::WriteOnly);
        if (holes)
            file.resize(bytes);
        else
            file.write(QByteArray(bytes, 'x'));
        return file.fileName();
    }
    // `count` files of `bytes` bytes below `relative`: f0, f1 and so on.
    QStringList files(const QString& relative, int count, qint64 bytes = 0) const
    {
        QStringList paths;
        for (int i = 0; i < count; ++i)
            paths.append(file(relative + QStringLiteral("/f%1").arg(i), bytes));
        return paths;
    }
    QString sparseFile(const QString& relative, qint64 length) const
    {
        return file(relative, length, true);
    }

    // A file whose name is any bytes, text or not, as NativePath carries it.
    QString byteNamedFile(const QByteArray& name, qint64 bytes = 1) const
    {
        const QString path = root_ + QLatin1Char('/') + tolvex::decodeNativePath(name);
        std::ofstream(tolvex::toNativePath(path)) << std::string(std::size_t(bytes), 'x');
        return path;
    }

    QString link(const QString& relative, const QString& target) const
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile::link(target, path(relative));
        return path(relative);
    }

    // A folder too deep to walk whoever runs the test (paths past PATH_MAX: "File name too long")
    // among `count` small files, renamed until the file system lists a file after it: its name,
    // and how many files are listed before it.
    std::pair<QString, int> filesAroundTooDeepFolder(const QString& relative, int count) const
    {
        files(relative, count, 10);
        QString deep = QStringLiteral("deep");
        const QByteArray level(200, 'd');
        int fd = ::open(QFile::encodeName(folder(relative + QLatin1Char('/') + deep)).constData(),
                        O_RDONLY | O_DIRECTORY);
        for (int depth = 0; depth * level.size() < 2 * PATH_MAX && fd >= 0; ++depth) {
            ::mkdirat(fd, level.constData(), 0755);
            const int next = ::openat(fd, level.constData(), O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = next;
        }
        if (fd >= 0)
            ::close(fd);
        const auto listed = [&] {
            return QDir(path(relative))
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Unsorted);
        };
        for (int attempt = 0; listed().constLast() == deep && attempt < 100; ++attempt) {
            const QString renamed = QStringLiteral("deep%1").arg(attempt);
            QDir(path(relative)).rename(deep, renamed);
            deep = renamed;
        }
        return {deep, int(listed().indexOf(deep))};
    }

private:
    QTemporaryDir dir_;
    QString root_;
};
