#include "TolxRun.h"

#include <atomic>
#include <csignal>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>

namespace {

const QByteArray kMarker = "tolx-test-marker;";

QStringList args(const QByteArray& flags, const QList<QByteArray>& paths)
{
    QStringList list{QString::fromLatin1(flags)};
    for (const QByteArray& path : paths)
        list.append(QFile::decodeName(path));
    return list;
}

// Sets an inode's flags (immutable, append-only); false where the file system has none.
bool setInodeFlags(const QByteArray& path, int flags)
{
    const int fd = open(path.constData(), O_RDONLY | O_NONBLOCK);
    const bool set = fd >= 0 && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    close(fd);
    return set;
}

// Starts the program and waits for a line holding `token` on its output.
bool startAndAwait(QProcess& process, const QStringList& arguments, const QByteArray& token)
{
    process.start(tolxProgram(), arguments);
    QByteArray seen;
    while (!seen.contains(token) && process.waitForReadyRead(30000))
        seen += process.readAllStandardOutput();
    return seen.contains(token);
}

} // namespace

class TestTolxProgram : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void treeIsDestroyedWithSoundFraming_data()
    {
        QTest::addColumn<QByteArray>("flags");
        QTest::newRow("1 pass") << QByteArray("-frsv");
        QTest::newRow("7 passes, paths on input") << QByteArray("-frmvz");
        QTest::newRow("35 passes") << QByteArray("-frv");
    }

    // A later chunk of the app's list repeats paths the first chunk destroyed: missing paths
    // are reported, not failed.
    void treeIsDestroyedWithSoundFraming()
    {
        QFETCH(QByteArray, flags);
        Sandbox box;
        const QByteArray top = box.mkdir("top");
        for (const char* folder : {"top/sub", "top/sub/deeper", "top/sub/empty"})
            box.mkdir(folder);
        QVERIFY(writeFile(top + "/a", markerBytes(300000)));
        QVERIFY(writeFile(top + "/zero", {}));
        QVERIFY(writeFile(top + "/sub/b", markerBytes(5000)));
        QVERIFY(writeFile(top + "/sub/deeper/c", "c"));
        const QByteArray single = box.path("single");
        QVERIFY(writeFile(single, markerBytes(70000)));
        const QList<QByteArray> paths{box.path("missing/nowhere"), top, single, single};

        const TolxRun run = flags.endsWith('z')
                                ? TolxRun::run({flags}, {.input = paths.join('\0') + '\0'})
                                : TolxRun::run(args(flags, paths));

        QVERIFY2(run.succeeded(), run.errors.constData());
        VERIFY_FRAMING(run);
        QVERIFY(run.errors.contains(paths.first()));
        QVERIFY(!exists(top) && !exists(single));
        const QList<QByteArray> removed = run.removedPaths();
        QCOMPARE(removed.first(), top);
        QCOMPARE(removed.last(), single);
        for (const char* item :
             {"/a", "/zero", "/sub", "/sub/b", "/sub/deeper", "/sub/deeper/c", "/sub/empty"})
            QVERIFY2(removed.contains(top + item), item);
        QCOMPARE(removed.size(), 9);
        QVERIFY(run.lines.contains("100%"));
    }

    // Awkward names, paths near PATH_MAX, links, special and sparse files, a hard link: all
    // removed with sound framing; links are never followed, special files never opened, and the
    // data under a hard link's other name is overwritten.
    void awkwardItemsAreRemovedSafely()
    {
        Sandbox box;
        const QByteArray top = box.mkdir("top");
        for (const char* name :
             {"line\nfeed", "line\\nfeed", "50%", "done", "removing", "\xff\xfe\x80 not utf-8"})
            QVERIFY(writeFile(top + '/' + name, markerBytes(100)));
        QByteArray deep = top;
        QByteArray lone = box.mkdir("long");
        for (const QByteArray segment = '/' + QByteArray(200, 'd'); deep.size() < 3800;) {
            deep += segment;
            lone += segment;
            QVERIFY(::mkdir(deep.constData(), 0755) == 0 && ::mkdir(lone.constData(), 0755) == 0);
        }
        deep += '/' + QByteArray(4000 - deep.size() - 1, 'f');
        lone += '/' + QByteArray(4000 - lone.size() - 1, 'f');
        QVERIFY(writeFile(deep, kMarker) && writeFile(lone, kMarker));

        const QByteArray keep = box.mkdir("outside") + "/keep";
        const QByteArray named = box.path("named-link");
        QVERIFY(writeFile(keep, kMarker));
        for (const auto& [target, link] : {std::pair{keep, top + "/to-file"},
                                           {box.path("outside"), top + "/to-folder"},
                                           {"loop-b", top + "/loop-a"},
                                           {"loop-a", top + "/loop-b"},
                                           {keep, named}})
            QCOMPARE(symlink(target.constData(), link.constData()), 0);
        QCOMPARE(mkfifo((top + "/fifo").constData(), 0644), 0);
        const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{AF_UNIX, {}};
        qstrcpy(address.sun_path, (top + "/socket").constData());
        QCOMPARE(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        // Only root makes device nodes; this one is the null device, harmless if it were written.
        mknod((top + "/device").constData(), S_IFCHR | 0600, makedev(1, 3));
        const QByteArray sparse = box.path("sparse");
        QVERIFY(writeFile(sparse, {}));
        QVERIFY(truncate(sparse.constData(), 16 << 20) == 0);
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
        QCOMPARE(readFile(keep), kMarker);
        const QList<QByteArray> removed = run.removedPaths();
        for (const QByteArray& item : {top + "/line\\nfeed", top + "/line\\\\nfeed",
                                       top + "/\xff\xfe\x80 not utf-8", top + "/fifo", deep, lone})
            QVERIFY2(removed.contains(item), item.constData());
        QVERIFY(!readFile(box.path("hard-other")).contains(kMarker));
        QVERIFY(run.errors.contains("other name"));
    }

    void usageAndFailureStatuses()
    {
        Sandbox box;
        const QString folder = QFile::decodeName(box.mkdir("folder"));
        for (const QStringList& wrong : {QStringList{"-frxv", folder},
                                         {"--frobnicate", folder},
                                         {"-frsv"},
                                         {"-frsvz", folder}})
            QCOMPARE(TolxRun::run(wrong).exitCode, 64);
        QVERIFY(TolxRun::run({"--help"}).lines.join('\n').contains("line feed"));
        QCOMPARE(TolxRun::run({"-fsv", folder}).exitCode, 1);
        QCOMPARE(TolxRun::run({"-frsv", folder + "/."}).exitCode, 1);

        // The list's writer died in the middle of a path: what arrived of it names another file.
        const QByteArray whole = box.path("whole");
        const QByteArray cutOff = box.path("victim");
        QVERIFY(writeFile(whole, kMarker) && writeFile(cutOff, kMarker));
        const TolxRun run = TolxRun::run({"-frsvz"}, {.input = whole + '\0' + cutOff});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(!exists(whole) && run.errors.contains(cutOff));
        QCOMPARE(readFile(cutOff), kMarker);
    }

    void permissionsAreMetNeverBypassed_data()
    {
        QTest::addColumn<QByteArray>("flags");
        QTest::addColumn<QByteArray>("named");
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<int>("folderFlags");
        QTest::addColumn<bool>("destroyed");
        const QByteArray all = "base";
        const QByteArray file = "base/sub/file";
        QTest::newRow("read-only file") << QByteArray("-rsv") << all << 0755 << 0444 << 0 << false;
        QTest::newRow("-f: owner-read-only, group-writable")
            << QByteArray("-frsv") << all << 0755 << 0464 << 0 << true;
        QTest::newRow("-f: set-ID bits dropped")
            << QByteArray("-frsv") << all << 0755 << 02444 << 0 << true;
        QTest::newRow("unwritable folder")
            << QByteArray("-rsv") << all << 0555 << 0644 << 0 << false;
        QTest::newRow("-f: unwritable folder inside a named one")
            << QByteArray("-frsv") << all << 0555 << 0644 << 0 << true;
        QTest::newRow("-f: the folder of a named file")
            << QByteArray("-frsv") << file << 0555 << 0644 << 0 << false;
        QTest::newRow("-f: unreadable folder")
            << QByteArray("-frsv") << all << 0 << 0644 << 0 << false;
        QTest::newRow("append-only folder")
            << QByteArray("-frsv") << all << 0755 << 0644 << int(FS_APPEND_FL) << false;
        QTest::newRow("immutable folder")
            << QByteArray("-frsv") << all << 0755 << 0644 << int(FS_IMMUTABLE_FL) << false;
    }

    // An item that must stay is left intact, never emptied. Modes are met as the user "nobody";
    // inode flags as root, who may set them.
    void permissionsAreMetNeverBypassed()
    {
        QFETCH(QByteArray, flags);
        QFETCH(QByteArray, named);
        QFETCH(int, folderMode);
        QFETCH(int, fileMode);
        QFETCH(int, folderFlags);
        QFETCH(bool, destroyed);
        if (geteuid() != 0)
            QSKIP("needs root, to run the program as 'nobody' and to set inode flags");
        Sandbox box;
        const QByteArray sub = box.mkdir("base") + "/sub";
        const QByteArray file = sub + "/file";
        const QByteArray otherName = box.path("other-name");
        QVERIFY(box.mkdir("base/sub") == sub && writeFile(file, kMarker));
        QVERIFY(link(file.constData(), otherName.constData()) == 0);
        const TolxLaunch launch = folderFlags != 0 ? TolxLaunch{} : TolxRun::asNobody(box);
        QVERIFY2(!launch.program.isEmpty(), "no user 'nobody' to run the program as");
        for (const QByteArray& item : {box.path("base"), sub, file})
            QCOMPARE(lchown(item.constData(), 65534, 65534), 0);
        QVERIFY(chmod(file.constData(), mode_t(fileMode)) == 0 &&
                chmod(sub.constData(), mode_t(folderMode)) == 0);
        if (folderFlags != 0 && !setInodeFlags(sub, folderFlags))
            QSKIP("the temporary folder's file system has no inode flags");

        const TolxRun run = TolxRun::run(args(flags, {box.path(named)}), launch);
        setInodeFlags(sub, 0);
        chmod(sub.constData(), 0755);

        QCOMPARE(run.exitCode, destroyed ? 0 : 1);
        QCOMPARE(exists(file), !destroyed);
        QCOMPARE(readFile(otherName) == kMarker, !destroyed);
        QVERIFY2(destroyed || run.errors.contains(sub), run.errors.constData());
        struct stat status {};
        QCOMPARE(stat(otherName.constData(), &status), 0);
        QCOMPARE(status.st_mode & 07000, destroyed ? 0u : mode_t(fileMode) & 07000);
    }

    // SIGTERM mid-overwrite stops at once and leaves the file whole under its name; SIGINT
    // while items are renamed and removed leaves none under a random name.
    void stopRequestsLeaveEveryItemUnderItsName()
    {
        Sandbox box;
        const QByteArray big = box.path("big");
        QVERIFY(writeFile(big, markerBytes(32 << 20)));
        QProcess overwriting;
        QVERIFY(startAndAwait(overwriting, args("-frv", {big}), "%"));
        kill(pid_t(overwriting.processId()), SIGTERM);
        QVERIFY(overwriting.waitForFinished(10000));
        QCOMPARE(overwriting.exitStatus(), QProcess::CrashExit);
        QCOMPARE(overwriting.exitCode(), SIGTERM);
        QCOMPARE(QFileInfo(QFile::decodeName(big)).size(), qint64(32 << 20));

        const QByteArray many = box.mkdir("many");
        for (int i = 0; i < 1000; ++i)
            QVERIFY(writeFile(many + "/item-" + QByteArray::number(i), {}));
        QProcess removing;
        QVERIFY(startAndAwait(removing, args("-frsv", {many}), "done"));
        kill(pid_t(removing.processId()), SIGINT);
        QVERIFY(removing.waitForFinished(10000));
        QCOMPARE(removing.exitCode(), SIGINT);
        const QStringList left = QDir(QFile::decodeName(many)).entryList(QDir::Files);
        QVERIFY(!left.isEmpty());
        for (const QString& name : left)
            QVERIFY2(name.startsWith("item-"), qPrintable(name));
    }

    void theRunGoesOnWhenItsReaderIsGone()
    {
        Sandbox box;
        const QByteArray folder = box.mkdir("folder");
        QVERIFY(writeFile(folder + "/a", markerBytes(70000)) && writeFile(folder + "/b", kMarker));
        const TolxRun run = TolxRun::run(args("-frsv", {folder}), {.inChild = [] {
                                             int ends[2];
                                             if (pipe(ends) != 0 || dup2(ends[1], 1) != 1)
                                                 _exit(99);
                                             close(ends[0]);
                                         }});
        QVERIFY2(run.succeeded(), run.errors.constData());
        QVERIFY(!exists(folder));
    }

    // Data a program keeps appending while the file is overwritten would be freed unread.
    void aFileStillBeingWrittenIsLeftInPlace()
    {
        Sandbox box;
        const QByteArray file = box.path("log");
        QVERIFY(writeFile(file, markerBytes(1 << 20)));
        std::atomic<bool> stop = false;
        std::thread writer([&] {
            const int fd = open(file.constData(), O_WRONLY | O_APPEND);
            while (!stop && write(fd, kMarker.constData(), size_t(kMarker.size())) > 0)
                fdatasync(fd);
            close(fd);
        });
        const TolxRun run = TolxRun::run(args("-frv", {file}));
        stop = true;
        writer.join();
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains("still being written"), run.errors.constData());
        QVERIFY(exists(file));
    }

    // A hundred thousand levels, with few descriptors to spare and without memory to match.
    void aVeryDeepTreeIsDestroyed()
    {
        if (!QFile::exists("/usr/bin/time"))
            QSKIP("/usr/bin/time measures the program's memory; it is not installed");
        // In memory where possible: a hundred thousand folder syncs on a disk take minutes.
        Sandbox box(QDir("/dev/shm").exists() ? "/dev/shm" : QDir::tempPath());
        const QByteArray top = box.mkdir("deep");
        int fd = open(top.constData(), O_RDONLY | O_DIRECTORY);
        for (int level = 0; level < 100000 && fd >= 0; ++level) {
            const int next = mkdirat(fd, "d", 0755) == 0 ? openat(fd, "d", O_RDONLY) : -1;
            close(fd);
            fd = next;
        }
        QVERIFY(close(fd) == 0);
        // Its peak memory as its own parent sees it: a child forked from this test would count
        // the test's memory as its own.
        const QString peak = QFile::decodeName(box.path("peak"));
        const TolxRun run =
            TolxRun::run({"-f", "%M", "-o", peak, tolxProgram(), "-frs", QFile::decodeName(top)},
                         {.program = "/usr/bin/time", .inChild = [] {
                              const rlimit few{64, 64};
                              setrlimit(RLIMIT_NOFILE, &few);
                          }});
        QVERIFY2(run.succeeded(), run.errors.left(1000).constData());
        QVERIFY(!exists(top));
#ifdef __SANITIZE_ADDRESS__
        constexpr int kFlatKiB = 256 << 10;
#else
        constexpr int kFlatKiB = 32 << 10;
#endif
        const QByteArray peakKiB = readFile(QFile::encodeName(peak)).trimmed();
        QVERIFY2(peakKiB.toInt() > 0 && peakKiB.toInt() < kFlatKiB, peakKiB.constData());
    }
};

QTEST_GUILESS_MAIN(TestTolxProgram)
#include "test_tolx_program.moc"
