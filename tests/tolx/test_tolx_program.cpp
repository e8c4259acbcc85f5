#include "TolxRun.h"

#include <atomic>
#include <csignal>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <thread>

namespace {

const QByteArray kMarker = "tolx-test-marker;";

// Sets an inode's flags (immutable, append-only); false where the file system has none.
bool setInodeFlags(const QByteArray& path, int flags)
{
    const int fd = open(path.constData(), O_RDONLY | O_NONBLOCK);
    const bool set = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    close(fd);
    return set;
}

// Starts the program, waits for `token` on its output, then sends it `signal`.
void interruptAt(QProcess& process, const QStringList& arguments, const QByteArray& token,
                 int signal)
{
    process.start(tolxProgram(), arguments);
    while (!process.readAllStandardOutput().contains(token) && process.waitForReadyRead(30000)) {
    }
    kill(pid_t(process.processId()), signal);
    process.waitForFinished(10000);
}

} // namespace

class TestTolxProgram : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void itemsAreDestroyedWithSoundFraming_data()
    {
        QTest::addColumn<QByteArray>("flags");
        QTest::newRow("1 pass") << QByteArray("-frsv");
        QTest::newRow("7 passes, paths on input") << QByteArray("-frmvz");
        QTest::newRow("35 passes") << QByteArray("-frv");
    }

    // Awkward names, links, FIFOs, a hard link: links are never followed, FIFOs never opened,
    // and the data under a hard link's other name is overwritten. A later chunk of the app's
    // list repeats paths the first chunk destroyed: missing paths are reported, not failed.
    void itemsAreDestroyedWithSoundFraming()
    {
        QFETCH(QByteArray, flags);
        Sandbox box;
        const QByteArray top = box.mkdir("top");
        for (const char* folder : {"top/sub", "top/sub/deeper", "top/sub/empty"})
            box.mkdir(folder);
        for (const char* name : {"line\nfeed", "line\\nfeed", "50%", "\xff\x80 not utf-8", "sub/b"})
            QVERIFY(writeFile(top + '/' + name, kMarker));
        const QByteArray keep = box.mkdir("outside") + "/keep";
        const QByteArray named = box.path("named-link");
        const QByteArray hard = box.path("hard");
        QVERIFY(writeFile(keep, kMarker) && symlink(keep, named) == 0 &&
                mkfifo(top + "/fifo", 0644) == 0 && writeFile(top + "/zero", {}));
        QVERIFY(symlink(box.path("outside"), top + "/to-folder") == 0 &&
                symlink("loop", top + "/loop") == 0 && writeFile(top + "/a", markerBytes(300000)));
        QVERIFY(writeFile(hard, markerBytes(70000)) && link(hard, box.path("hard-other")) == 0);
        const QList<QByteArray> paths{
            box.path("missing/nowhere"), top, named, named + "/", hard, hard};
        const TolxRun run = flags.endsWith('z')
                                ? TolxRun::run({flags}, {.input = paths.join('\0') + '\0'})
                                : TolxRun::run(flags, paths);
        QVERIFY2(run.succeeded() && run.framingFault().isEmpty(), run.errors + run.framingFault());
        QVERIFY(run.errors.contains(paths.first()) && run.errors.contains("other name"));
        QVERIFY(!exists(top) && !exists(named) && !exists(hard) && readFile(keep) == kMarker);
        QVERIFY(readFile(box.path("hard-other")) != kMarker && run.lines.contains("100%"));
        QCOMPARE(run.lines.first(), "removing " + top);
        for (const char* item : {"/a", "/zero", "/sub", "/sub/b", "/sub/deeper", "/sub/empty",
                                 "/line\\nfeed", "/line\\\\nfeed", "/\xff\x80 not utf-8", "/fifo"})
            QVERIFY2(run.lines.contains("removing " + top + item), item);
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
        QVERIFY(run.exitCode == 1 && !exists(whole) && run.errors.contains(cutOff));
        QCOMPARE(readFile(cutOff), kMarker);
    }

    // Each row: flags, the path named, the folder's and the file's modes (octal), inode flags
    // of the folder (a: append-only, i: immutable, -: none), and whether the file goes.
    void permissionsAreMetNeverBypassed_data()
    {
        QTest::addColumn<QByteArray>("row");
        QTest::newRow("read-only file") << QByteArray("-rsv base 755 444 - kept");
        QTest::newRow("-f, owner-read-only, group-writable")
            << QByteArray("-frsv base 755 464 - gone");
        QTest::newRow("-f, set-ID bits dropped") << QByteArray("-frsv base 755 2444 - gone");
        QTest::newRow("unwritable folder") << QByteArray("-rsv base 555 644 - kept");
        QTest::newRow("-f, unwritable folder inside") << QByteArray("-frsv base 555 644 - gone");
        QTest::newRow("-f, folder of a named file")
            << QByteArray("-frsv base/sub/file 555 644 - kept");
        QTest::newRow("-f, unreadable folder") << QByteArray("-frsv base 0 644 - kept");
        QTest::newRow("append-only folder") << QByteArray("-frsv base 755 644 a kept");
        QTest::newRow("immutable folder") << QByteArray("-frsv base 755 644 i kept");
    }

    // An item that must stay is left intact, never emptied. Modes are met as the user "nobody";
    // inode flags as root, who may set them.
    void permissionsAreMetNeverBypassed()
    {
        QFETCH(QByteArray, row);
        const QList<QByteArray> spec = row.split(' ');
        const auto folderMode = mode_t(spec[2].toInt(nullptr, 8));
        const auto fileMode = mode_t(spec[3].toInt(nullptr, 8));
        const int inodeFlags = spec[4] == "a" ? FS_APPEND_FL : spec[4] == "i" ? FS_IMMUTABLE_FL : 0;
        const bool destroyed = spec[5] == "gone";
        if (geteuid() != 0)
            QSKIP("needs root, to run the program as 'nobody' and to set inode flags");
        Sandbox box;
        const QByteArray sub = box.mkdir("base") + "/sub";
        const QByteArray file = sub + "/file";
        const QByteArray otherName = box.path("other-name");
        QVERIFY(box.mkdir("base/sub") == sub && writeFile(file, kMarker) &&
                link(file, otherName) == 0);
        const TolxLaunch launch = inodeFlags != 0 ? TolxLaunch{} : TolxRun::asNobody(box);
        QVERIFY2(!launch.program.isEmpty(), "no user 'nobody' to run the program as");
        for (const QByteArray& item : {box.path("base"), sub, file})
            QCOMPARE(lchown(item, 65534, 65534), 0);
        QVERIFY(chmod(file, fileMode) == 0 && chmod(sub, folderMode) == 0);
        if (inodeFlags != 0 && !setInodeFlags(sub, inodeFlags))
            QSKIP("the temporary folder's file system has no inode flags");
        const TolxRun run = TolxRun::run(spec[0], {box.path(spec[1])}, launch);
        setInodeFlags(sub, 0);
        chmod(sub, 0755);
        QCOMPARE(run.exitCode, destroyed ? 0 : 1);
        QCOMPARE(exists(file), !destroyed);
        QCOMPARE(readFile(otherName) == kMarker, !destroyed);
        QVERIFY2(destroyed || run.errors.contains(sub), run.errors.constData());
        struct stat status {};
        QVERIFY(stat(otherName, &status) == 0);
        QCOMPARE(status.st_mode & 07000, destroyed ? 0u : fileMode & 07000);
    }

    // SIGTERM mid-overwrite stops at once and leaves the file whole under its name; SIGINT
    // while items are renamed and removed leaves none under a random name. A reader that is
    // gone stops nothing.
    void theRunStopsOnlyWhenAsked()
    {
        Sandbox box;
        const QByteArray big = box.path("big");
        QVERIFY(writeFile(big, markerBytes(32 << 20)));
        QProcess overwriting;
        interruptAt(overwriting, {"-frv", QFile::decodeName(big)}, "%", SIGTERM);
        QVERIFY(overwriting.exitStatus() == QProcess::CrashExit &&
                overwriting.exitCode() == SIGTERM);
        QCOMPARE(readFile(big).size(), 32 << 20);
        const QByteArray many = box.mkdir("many");
        for (int i = 0; i < 1000; ++i)
            QVERIFY(writeFile(many + "/item-" + QByteArray::number(i), {}));
        QProcess removing;
        interruptAt(removing, {"-frsv", QFile::decodeName(many)}, "done", SIGINT);
        QCOMPARE(removing.exitCode(), SIGINT);
        const QStringList left = QDir(QFile::decodeName(many)).entryList(QDir::Files);
        QVERIFY(!left.isEmpty() && left.filter(QRegularExpression("^item-")) == left);
        const TolxRun run = TolxRun::run("-frsv", {many, big}, {.inChild = [] {
                                             int ends[2];
                                             if (pipe(ends) != 0 || dup2(ends[1], 1) < 0)
                                                 _exit(99);
                                             close(ends[0]);
                                         }});
        QVERIFY2(run.succeeded() && !exists(many) && !exists(big), run.errors.constData());
    }

    // Data a program keeps appending while the file is overwritten would be freed unread.
    void aFileStillBeingWrittenIsLeftInPlace()
    {
        Sandbox box;
        const QByteArray file = box.path("log");
        QVERIFY(writeFile(file, markerBytes(1 << 20)));
        std::atomic<bool> stop = false;
        std::thread writer([&] {
            while (!stop && writeFile(file, kMarker, O_APPEND | O_SYNC)) {
            }
        });
        const TolxRun run = TolxRun::run("-frv", {file});
        stop = true;
        writer.join();
        QVERIFY2(run.exitCode == 1 && run.errors.contains("still being written"), run.errors);
        QVERIFY(exists(file));
    }

    // A hundred thousand levels, with few descriptors to spare and without memory to match.
    // In memory where possible: a hundred thousand folder syncs on a disk take minutes.
    void aVeryDeepTreeIsDestroyed()
    {
        if (!QFile::exists("/usr/bin/time"))
            QSKIP("/usr/bin/time measures the program's memory; it is not installed");
        Sandbox box(QDir("/dev/shm").exists() ? "/dev/shm" : QDir::tempPath());
        const QByteArray top = box.mkdir("deep");
        int fd = open(top, O_RDONLY | O_DIRECTORY);
        for (int level = 0; level < 100000 && fd >= 0; ++level) {
            const int next = mkdirat(fd, "d", 0755) == 0 ? openat(fd, "d", O_RDONLY) : -1;
            close(fd);
            fd = next;
        }
        QVERIFY(close(fd) == 0);
        // Peak memory as the program's own parent sees it: a child forked from this test would
        // count the test's memory as its own.
        const QString peak = QFile::decodeName(box.path("peak"));
        const TolxRun run =
            TolxRun::run({"-f", "%M", "-o", peak, tolxProgram(), "-frs", QFile::decodeName(top)},
                         {.program = "/usr/bin/time", .inChild = [] {
                              const rlimit few{64, 64};
                              setrlimit(RLIMIT_NOFILE, &few);
                          }});
        QVERIFY2(run.succeeded() && !exists(top), run.errors.left(1000).constData());
        const int peakKiB = readFile(QFile::encodeName(peak)).trimmed().toInt();
#ifdef __SANITIZE_ADDRESS__
        QVERIFY2(peakKiB > 0 && peakKiB < 256 << 10, qPrintable(QString::number(peakKiB)));
#else
        QVERIFY2(peakKiB > 0 && peakKiB < 32 << 10, qPrintable(QString::number(peakKiB)));
#endif
    }
};

QTEST_GUILESS_MAIN(TestTolxProgram)
#include "test_tolx_program.moc"
