#include "TolxRun.h"

#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray kMarker = "tolx-test-marker;";

// Raw byte paths throughout: some names here are not valid UTF-8.
bool writeFile(const QByteArray& path, const QByteArray& content, mode_t mode = 0644)
{
    const int fd = open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, mode);
    if (fd < 0)
        return false;
    const bool written = write(fd, content.constData(), size_t(content.size())) == content.size();
    return close(fd) == 0 && written;
}

QByteArray readFile(const QByteArray& path)
{
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool exists(const QByteArray& path)
{
    struct stat status {};
    return lstat(path.constData(), &status) == 0;
}

QByteArray markerBytes(int size)
{
    return kMarker.repeated(size / int(kMarker.size()) + 1).left(size);
}

class Sandbox {
public:
    Sandbox() : root_(QFile::encodeName(dir_.path())) {}
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

QStringList args(const QByteArray& flags, const QList<QByteArray>& paths)
{
    QStringList list{QString::fromLatin1(flags)};
    for (const QByteArray& path : paths)
        list.append(QFile::decodeName(path));
    return list;
}

#define VERIFY_FRAMING(run)                                                                        \
    do {                                                                                           \
        QString why;                                                                               \
        QVERIFY2((run).framingIsSound(&why), qPrintable(why));                                     \
    } while (false)

} // namespace

class TestTolxProgram : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void treeIsDestroyedWithSoundFraming_data()
    {
        QTest::addColumn<QByteArray>("flags");
        QTest::newRow("1 pass") << QByteArray("-frsv");
        QTest::newRow("7 passes") << QByteArray("-frmv");
        QTest::newRow("35 passes") << QByteArray("-frv");
    }

    // A later chunk of the app's list repeats paths the first chunk destroyed: missing paths
    // are reported, not failed.
    void treeIsDestroyedWithSoundFraming()
    {
        QFETCH(QByteArray, flags);
        Sandbox box;
        const QByteArray top = box.mkdir("top");
        box.mkdir("top/sub");
        box.mkdir("top/sub/deeper");
        box.mkdir("top/sub/empty");
        QVERIFY(writeFile(top + "/a", markerBytes(300000)));
        QVERIFY(writeFile(top + "/zero", {}));
        QVERIFY(writeFile(top + "/sub/b", markerBytes(5000)));
        QVERIFY(writeFile(top + "/sub/deeper/c", "c"));
        const QByteArray single = box.path("single");
        QVERIFY(writeFile(single, markerBytes(70000)));
        const QByteArray missing = box.path("missing/nowhere");

        const TolxRun run = TolxRun::run(args(flags, {missing, top, single, single}));

        QVERIFY2(run.succeeded(), run.errors.constData());
        VERIFY_FRAMING(run);
        QVERIFY(run.errors.contains(missing));
        QVERIFY(!exists(top));
        QVERIFY(!exists(single));
        const QList<QByteArray> removed = run.removedPaths();
        QCOMPARE(removed.first(), top);
        QCOMPARE(removed.last(), single);
        for (const char* item :
             {"/a", "/zero", "/sub", "/sub/b", "/sub/deeper", "/sub/deeper/c", "/sub/empty"})
            QVERIFY2(removed.contains(top + item), item);
        QCOMPARE(removed.size(), 9);
        QVERIFY(run.lines.contains("100%"));
    }

    // Awkward names, paths near PATH_MAX, links, special, sparse and read-only files, a hard
    // link: all removed in one forced run with sound framing; links are never followed, special
    // files never opened, and the data under a hard link's other name is overwritten.
    void awkwardItemsAreRemovedSafely()
    {
        Sandbox box;
        const QByteArray top = box.mkdir("top");
        for (const char* name : {"line\nfeed", "50%", "%", "done", "removing",
                                 "\xff\xfe\x80 not utf-8", "back\\slash"})
            QVERIFY(writeFile(top + '/' + name, markerBytes(100)));
        QVERIFY(writeFile(top + "/read-only", kMarker, 0444));
        QByteArray deep = top;
        QByteArray lone = box.mkdir("long");
        while (deep.size() < 3800) {
            const QByteArray segment = '/' + QByteArray(200, 'd');
            deep += segment;
            lone += segment;
            QCOMPARE(::mkdir(deep.constData(), 0755), 0);
            QCOMPARE(::mkdir(lone.constData(), 0755), 0);
        }
        deep += '/' + QByteArray(4000 - deep.size() - 1, 'f');
        lone += '/' + QByteArray(4000 - lone.size() - 1, 'f');
        QVERIFY(writeFile(deep, markerBytes(100)));
        QVERIFY(writeFile(lone, markerBytes(100)));
        QCOMPARE(lone.size(), 4000);

        const QByteArray outside = box.mkdir("outside");
        QVERIFY(writeFile(outside + "/keep", kMarker));
        QCOMPARE(symlink((outside + "/keep").constData(), (top + "/to-file").constData()), 0);
        QCOMPARE(symlink(outside.constData(), (top + "/to-folder").constData()), 0);
        QCOMPARE(symlink("loop-b", (top + "/loop-a").constData()), 0);
        QCOMPARE(symlink("loop-a", (top + "/loop-b").constData()), 0);
        QCOMPARE(symlink("nowhere", (top + "/dangling").constData()), 0);
        const QByteArray named = box.path("named-link");
        QCOMPARE(symlink((outside + "/keep").constData(), named.constData()), 0);

        QCOMPARE(mkfifo((top + "/fifo").constData(), 0644), 0);
        const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = top + "/socket";
        QVERIFY(socketPath.size() < qsizetype(sizeof address.sun_path));
        qstrcpy(address.sun_path, socketPath.constData());
        QCOMPARE(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        // A device node is only for root to make; this one is the null device, harmless if
        // it ever were written.
        mknod((top + "/device").constData(), S_IFCHR | 0600, makedev(1, 3));

        const QByteArray sparse = box.path("sparse");
        const int fd = open(sparse.constData(), O_CREAT | O_WRONLY, 0644);
        QCOMPARE(ftruncate(fd, 16 << 20), 0);
        QCOMPARE(pwrite(fd, kMarker.constData(), size_t(kMarker.size()), 8 << 20),
                 ssize_t(kMarker.size()));
        close(fd);

        const QByteArray hard = box.path("hard");
        QVERIFY(writeFile(hard, markerBytes(10000)));
        QCOMPARE(link(hard.constData(), box.path("hard-other").constData()), 0);

        const TolxRun run =
            TolxRun::run(args("-frsv", {top, lone, named, named + "/", sparse, hard}));
        close(sock);

        QVERIFY2(run.succeeded(), run.errors.constData());
        VERIFY_FRAMING(run);
        for (const QByteArray& item : {top, lone, named, sparse, hard})
            QVERIFY2(!exists(item), item.constData());
        QCOMPARE(readFile(outside + "/keep"), kMarker);
        const QList<QByteArray> removed = run.removedPaths();
        for (const QByteArray& item : {top + "/line\\nfeed", top + "/\xff\xfe\x80 not utf-8",
                                       top + "/back\\slash", top + "/fifo", deep, lone})
            QVERIFY2(removed.contains(item), item.constData());
        QVERIFY(!readFile(box.path("hard-other")).contains(kMarker));
        QVERIFY(run.errors.contains("other name"));
    }

    void usageAndFailureStatuses()
    {
        Sandbox box;
        const QByteArray folder = box.mkdir("folder");
        QCOMPARE(TolxRun::run({"-frxv", QFile::decodeName(folder)}).exitCode, 64);
        QCOMPARE(TolxRun::run({"--frobnicate", QFile::decodeName(folder)}).exitCode, 64);
        QCOMPARE(TolxRun::run({"-frsv"}).exitCode, 64);
        const TolxRun help = TolxRun::run({"--help"});
        QVERIFY(help.succeeded());
        QVERIFY(help.lines.join('\n').contains("line feed"));

        QCOMPARE(TolxRun::run(args("-fsv", {folder})).exitCode, 1);
        QCOMPARE(TolxRun::run(args("-frsv", {folder + "/."})).exitCode, 1);
        const QByteArray readOnly = folder + "/read-only";
        QVERIFY(writeFile(readOnly, kMarker, 0444));
        const TolxRun unforced = TolxRun::run(args("-rsv", {folder}));
        QCOMPARE(unforced.exitCode, 1);
        QVERIFY(unforced.errors.contains("read-only"));
        QCOMPARE(readFile(readOnly), kMarker);
    }

    void unreadableFolderIsReportedAndKept()
    {
        // Root reads every folder, so as root the program runs as "nobody" instead.
        const bool root = geteuid() == 0;
        const passwd* nobody = getpwnam("nobody");
        if (root && !nobody)
            QSKIP("running as root and there is no user 'nobody' to drop privileges to");
        Sandbox box;
        const QByteArray base = box.mkdir("base");
        const QByteArray locked = box.mkdir("base/locked");
        QVERIFY(writeFile(locked + "/inside", kMarker));
        QVERIFY(writeFile(base + "/free", kMarker));
        std::function<void()> asNobody;
        if (root) {
            QCOMPARE(chmod(box.path("").constData(), 0755), 0);
            for (const QByteArray& item : {base, locked, locked + "/inside", base + "/free"})
                QCOMPARE(lchown(item.constData(), nobody->pw_uid, nobody->pw_gid), 0);
            asNobody = [uid = nobody->pw_uid, gid = nobody->pw_gid] {
                if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
                    _exit(99);
            };
        }
        QCOMPARE(chmod(locked.constData(), 0), 0);

        const TolxRun run = TolxRun::run(args("-frsv", {base}), TolxRun::program(), asNobody);
        chmod(locked.constData(), 0755);

        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.errors.contains(locked));
        QVERIFY(!exists(base + "/free"));
        QCOMPARE(readFile(locked + "/inside"), kMarker);
    }

    void sigtermStopsMidFile()
    {
        Sandbox box;
        const QByteArray file = box.path("big");
        constexpr int kSize = 32 << 20;
        QVERIFY(writeFile(file, markerBytes(kSize)));
        QProcess process;
        process.start(TolxRun::program(), args("-frv", {file}));
        QVERIFY(process.waitForStarted());
        // Wait for the first percentage: the file is then being overwritten.
        QByteArray seen;
        while (!seen.contains('%') && process.waitForReadyRead(30000))
            seen += process.readAllStandardOutput();
        QVERIFY2(seen.contains('%'), seen.constData());
        kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QCOMPARE(process.exitCode(), SIGTERM);
        QVERIFY(exists(file));
        QCOMPARE(QFileInfo(QFile::decodeName(file)).size(), qint64(kSize));
    }
};

QTEST_GUILESS_MAIN(TestTolxProgram)
#include "test_tolx_program.moc"
