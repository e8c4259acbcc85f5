#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// Raw byte paths throughout: some names in these tests are not valid UTF-8.
inline bool writeFile(const QByteArray& path, const QByteArray& content, mode_t mode = 0644)
{
    const int fd = open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, mode);
    const bool written = fd >= 0 && write(fd, content.constData(), size_t(content.size())) ==
                                        ssize_t(content.size());
    return fd >= 0 && close(fd) == 0 && written;
}

inline QByteArray readFile(const QByteArray& path)
{
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool exists(const QByteArray& path)
{
    struct stat status {};
    return lstat(path.constData(), &status) == 0;
}

inline QByteArray markerBytes(int size, const QByteArray& marker = "tolx-test-marker;")
{
    return marker.repeated(size / int(marker.size()) + 1).left(size);
}

// A temporary folder for one test, under `base` when given.
class Sandbox {
public:
    explicit Sandbox(const QString& base = QDir::tempPath())
        : dir_(base + "/tolx-test-XXXXXX"), root_(QFile::encodeName(dir_.path()))
    {}
    QByteArray path(const QByteArray& relative) const { return root_ + '/' + relative; }
    QByteArray mkdir(const QByteArray& relative, mode_t mode = 0755) const
    {
        const QByteArray full = path(relative);
        ::mkdir(full.constData(), mode);
        return full;
    }

private:
    QTemporaryDir dir_;
    QByteArray root_;
};

inline QString tolxProgram()
{
    return qEnvironmentVariable("TOLVEX_BIN_DIR") + "/tolx";
}

struct TolxLaunch {
    QString program = tolxProgram();
    // Written to standard input, which is then closed.
    QByteArray input{};
    std::function<void()> inChild{};
};

// Runs the built tolx program and collects what it printed.
struct TolxRun {
    using Launch = TolxLaunch;

    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    QList<QByteArray> lines;
    QByteArray errors;

    static TolxRun run(const QStringList& arguments, const Launch& launch = {})
    {
        QProcess process;
        if (launch.inChild)
            process.setChildProcessModifier(launch.inChild);
        process.start(launch.program, arguments);
        process.write(launch.input);
        process.closeWriteChannel();
        TolxRun result;
        if (!process.waitForFinished(240000))
            return result;
        result.exitCode = process.exitCode();
        result.exitStatus = process.exitStatus();
        QByteArray out = process.readAllStandardOutput();
        out.chop(out.endsWith('\n') ? 1 : 0);
        if (!out.isEmpty())
            result.lines = out.split('\n');
        result.errors = process.readAllStandardError();
        return result;
    }

    // Root reads and writes everything: to meet permissions the program runs as "nobody", from a
    // copy in the sandbox (the build folder may be out of its reach). Empty when there is none.
    static Launch asNobody(const Sandbox& box)
    {
        const passwd* nobody = getpwnam("nobody");
        const QByteArray copy = box.path("tolx");
        if (!nobody || lchown(box.path("").constData(), nobody->pw_uid, nobody->pw_gid) != 0 ||
            !QFile::copy(tolxProgram(), QFile::decodeName(copy)) ||
            chmod(copy.constData(), 0755) != 0)
            return {QString()};
        return {QFile::decodeName(copy), {}, [uid = nobody->pw_uid, gid = nobody->pw_gid] {
                    if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
                        _exit(99);
                }};
    }

    bool succeeded() const { return exitStatus == QProcess::NormalExit && exitCode == 0; }

    // Every line is one of the three messages; every item that starts also ends, and its
    // percentages only grow. Items nest (a folder's contents come between its messages), so
    // "done" closes the innermost open item.
    bool framingIsSound(QString* why) const
    {
        static const QRegularExpression percent(QStringLiteral("^(\\d{1,3})%$"));
        QList<int> lastPercent;
        for (const QByteArray& line : lines) {
            const auto match = percent.match(QString::fromLatin1(line));
            const int value = match.hasMatch() ? match.captured(1).toInt() : -1;
            if (line.startsWith("removing ") && line.size() > 9)
                lastPercent.append(-1);
            else if (line == "done" && !lastPercent.isEmpty())
                lastPercent.removeLast();
            else if (!lastPercent.isEmpty() && value > lastPercent.last() && value <= 100)
                lastPercent.last() = value;
            else
                return *why = "unexpected line: " + QString::fromUtf8(line), false;
        }
        *why = QStringLiteral("%1 item(s) never done").arg(lastPercent.size());
        return lastPercent.isEmpty();
    }

    QList<QByteArray> removedPaths() const
    {
        QList<QByteArray> paths;
        for (const QByteArray& line : lines) {
            if (line.startsWith("removing "))
                paths.append(line.mid(9));
        }
        return paths;
    }
};

#define VERIFY_FRAMING(run)                                                                        \
    do {                                                                                           \
        QString why;                                                                               \
        QVERIFY2((run).framingIsSound(&why), qPrintable(why));                                     \
    } while (false)
