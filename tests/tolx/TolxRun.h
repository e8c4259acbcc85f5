#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// Raw byte paths throughout: some names in these tests are not valid UTF-8.
inline bool writeFile(const QByteArray& path, const QByteArray& content, int flags = O_TRUNC)
{
    const int fd = open(path.constData(), O_CREAT | O_WRONLY | flags, 0644);
    const bool written = write(fd, content.constData(), size_t(content.size())) == content.size();
    return close(fd) == 0 && written;
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

inline const QByteArray kMarker = "tolx-test-marker;";

inline QByteArray markerBytes(int size)
{
    return kMarker.repeated(size / int(kMarker.size()) + 1).left(size);
}

// A temporary folder for one test, under `base` when given.
class Sandbox {
public:
    explicit Sandbox(const QString& base = QDir::tempPath()) : dir_(base + "/tolx-test-XXXXXX") {}
    QByteArray path(const QByteArray& relative) const
    {
        return QFile::encodeName(dir_.path()) + '/' + relative;
    }
    QByteArray mkdir(const QByteArray& relative) const
    {
        ::mkdir(path(relative).constData(), 0755);
        return path(relative);
    }

private:
    QTemporaryDir dir_;
};

struct TolxLaunch {
    QString program = qEnvironmentVariable("TOLVEX_BIN_DIR") + "/tolx";
    // Written to standard input, which is then closed.
    QByteArray input{};
    std::function<void()> inChild{};
};

// Runs the built tolx program and collects what it printed.
struct TolxRun {
    // -1 when it did not exit on its own.
    int exitCode = -1;
    QList<QByteArray> lines;
    QByteArray errors;

    static TolxRun run(const QList<QByteArray>& arguments, const TolxLaunch& launch = {})
    {
        QProcess process;
        if (launch.inChild)
            process.setChildProcessModifier(launch.inChild);
        QStringList decoded;
        for (const QByteArray& argument : arguments)
            decoded << QFile::decodeName(argument);
        process.start(launch.program, decoded);
        process.write(launch.input);
        process.closeWriteChannel();
        TolxRun result;
        if (process.waitForFinished(240000) && process.exitStatus() == QProcess::NormalExit)
            result.exitCode = process.exitCode();
        const QByteArray out = process.readAllStandardOutput();
        result.lines = out.isEmpty() ? QList<QByteArray>() : out.chopped(1).split('\n');
        result.errors = process.readAllStandardError();
        return result;
    }

    // Root passes every permission check: the program runs as "nobody", from a copy in the
    // sandbox (the build folder may be out of its reach). No program without that user.
    static TolxLaunch asNobody(const Sandbox& box)
    {
        const passwd* nobody = getpwnam("nobody");
        const QByteArray copy = box.path("tolx");
        if (!nobody || lchown(box.path("").constData(), nobody->pw_uid, nobody->pw_gid) != 0 ||
            !QFile::copy(TolxLaunch().program, QFile::decodeName(copy)))
            return {QString()};
        return {QFile::decodeName(copy), {}, [uid = nobody->pw_uid, gid = nobody->pw_gid] {
                    if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
                        _exit(99);
                }};
    }

    bool succeeded() const { return exitCode == 0; }

    // Every line is one of the three messages; every item that starts also ends, and its
    // percentages, whole numbers, only grow and reach 100 by its end. Items nest (a folder's
    // contents come between its messages), so "done" closes the innermost open item. Empty when
    // sound, else what is wrong.
    QByteArray framingFault() const
    {
        QList<int> open;
        for (const QByteArray& line : lines) {
            bool isNumber = false;
            const int percent = line.endsWith('%') ? line.chopped(1).toInt(&isNumber) : -1;
            if (line.startsWith("removing ") && line.size() > 9)
                open.append(-1);
            else if (line == "done" && !open.isEmpty() && (open.last() == -1 || open.last() == 100))
                open.removeLast();
            else if (isNumber && !open.isEmpty() && percent > open.last() && percent <= 100)
                open.last() = percent;
            else
                return "unexpected line: " + line;
        }
        return open.isEmpty() ? QByteArray() : "an item never done";
    }
};
