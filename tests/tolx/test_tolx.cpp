// The program's parts (pass plans, the overwriter), then the program itself: on temporary
// folders and on loop-mounted images.
#include "../LoopImage.h"
#include "TolxRun.h"
#include "tolx/ChunkProducer.h"
#include "tolx/DeviceSync.h"
#include "tolx/EntryRemover.h"
#include "tolx/FileOverwriter.h"
#include "tolx/JournalPurger.h"
#include "tolx/PassPlan.h"
#include "tolx/RandomStream.h"
#include "tolx/RemovalBatch.h"
#include "tolx/RemovedFolders.h"
#include "tolx/Reporter.h"

#include <QHash>
#include <QSet>
#include <array>
#include <atomic>
#include <csignal>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <span>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <thread>

using namespace tolvex::tolx;
using tolvex::testing::LoopImage;
using tolvex::testing::runTool;

namespace {

// Small chunks, so that a file of a few dozen KiB already crosses several chunk boundaries.
constexpr std::size_t kTestChunk = 3 * ChunkProducer::kAlignment;

QByteArray bytesOf(const PassPattern& pass)
{
    return QByteArray(reinterpret_cast<const char*>(pass.bytes().data()),
                      qsizetype(pass.bytes().size()));
}

const QList<QByteArray> kNames = {"SecretAlphaQ7Z1", "SecretBetaQ7Z2", "SecretGammaQ7Z3",
                                  "HiddenFolderQ7Z4", "NestedSecretQ7Z5"};

// The file's first `size` bytes as its device holds them: read through its extents from the image
// under its file system. Empty where a part is not on the device yet.
QByteArray onDevice(int fd, qint64 size, const QString& image)
{
    constexpr int kMostExtents = 64;
    alignas(fiemap) std::array<char, sizeof(fiemap) + kMostExtents * sizeof(fiemap_extent)> map{};
    auto* extents = reinterpret_cast<fiemap*>(map.data());
    extents->fm_length = FIEMAP_MAX_OFFSET;
    extents->fm_extent_count = kMostExtents;
    QFile device(image);
    if (ioctl(fd, FS_IOC_FIEMAP, extents) != 0 || !device.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes(size, '\0');
    for (const fiemap_extent& extent : std::span(extents->fm_extents, extents->fm_mapped_extents)) {
        if ((extent.fe_flags & (FIEMAP_EXTENT_DELALLOC | FIEMAP_EXTENT_UNKNOWN)) != 0 ||
            !device.seek(qint64(extent.fe_physical)))
            return {};
        const QByteArray held = device.read(qint64(extent.fe_length));
        bytes.replace(qsizetype(extent.fe_logical), held.size(), held);
    }
    return bytes.left(size);
}

// The journal commits of the image's file system so far.
qint64 journalCommits(const LoopImage& image)
{
    QByteArray device;
    runTool("findmnt", {"-no", "SOURCE", image.mountPoint()}, &device);
    QFile info("/proc/fs/jbd2/" + QFileInfo(QString(device.trimmed())).fileName() + "-8/info");
    return info.open(QIODevice::ReadOnly) ? info.readLine().split(' ').first().toLongLong() : -1;
}

// Sets an inode's flags (immutable, append-only); false where the file system has none.
bool setInodeFlags(const QByteArray& path, int flags)
{
    const int fd = open(path.constData(), O_RDONLY | O_NONBLOCK);
    const bool set = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    close(fd);
    return set;
}

// Starts the program and returns what it printed, once that holds `token`.
QByteArray startUntil(QProcess& process, const QStringList& arguments, const QByteArray& token)
{
    process.start(TolxLaunch().program, arguments);
    QByteArray printed;
    while (!(printed += process.readAllStandardOutput()).contains(token) &&
           process.waitForReadyRead(30000)) {
    }
    return printed;
}

// The folder `levels` levels of "d" below top, made first where asked; -1 when it is missing.
int openDeep(const QByteArray& top, int levels, bool make = false)
{
    int fd = open(top, O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < levels && fd >= 0; ++level) {
        const int next = make && mkdirat(fd, "d", 0755) != 0 ? -1 : openat(fd, "d", O_RDONLY);
        close(fd);
        fd = next;
    }
    return fd;
}

// Sends the signal to the started program and waits until it ends: true when it ended by it.
bool stopWith(QProcess& process, int signal)
{
    return process.processId() > 0 && kill(pid_t(process.processId()), signal) == 0 &&
           process.waitForFinished(60000) && process.exitStatus() == QProcess::CrashExit &&
           process.exitCode() == signal;
}

// Sync calls that answer EINVAL where told to, as some FUSE and network file systems do, and
// otherwise sync for real, then note what the syncs found: the contents of the watched files, or
// the names in a synced folder.
struct SyncSpy {
    static inline QByteArray refused;
    static inline QByteArray calls;
    static inline QList<QByteArrayList> fileStates;
    static inline QList<QStringList> folderStates;
    static inline QByteArrayList watched;

    static int call(char letter, int fd, int (*real)(int))
    {
        calls += letter;
        if (refused.contains(letter)) {
            errno = EINVAL;
            return -1;
        }
        const int result = real(fd);
        struct stat status {};
        if (fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
            folderStates << QDir(QString("/proc/self/fd/%1").arg(fd)).entryList(QDir::Files);
        } else {
            QByteArrayList contents;
            for (const QByteArray& path : watched)
                contents << readFile(path);
            if (fileStates.isEmpty() || fileStates.last() != contents)
                fileStates << contents;
        }
        return result;
    }
    static DeviceSync::Calls calls_()
    {
        return {[](int fd) { return call('d', fd, fdatasync); },
                [](int fd) { return call('f', fd, fsync); },
                [](int fd) { return call('s', fd, syncfs); }};
    }
};

// Small files, in one folder or one on each level of a tree, go in batches. Every name an
// entry passed through (strace notes the renames) must be gone from the raw image too; names
// shorter than 6 bytes are left out, as any image holds such runs by chance.
void nothingOfBatchedItemsRemains(LoopImage& image, const QString& flags, int files, bool deep,
                                  const QString& trace)
{
    const QByteArray top = QFile::encodeName(image.path("BatchTopQ7Z"));
    const QByteArray block = markerBytes(4096);
    int fd = mkdir(top, 0755) == 0 ? open(top, O_RDONLY | O_DIRECTORY) : -1;
    for (int i = 0; i < files && fd >= 0; ++i) {
        const QByteArray name = "SmallSecretQ7Z" + QByteArray::number(i);
        const int file = openat(fd, name, O_CREAT | O_WRONLY, 0644);
        QVERIFY(write(file, block.data(), size_t(block.size())) == block.size());
        QVERIFY(close(file) == 0);
        const QByteArray level = "LevelQ7Z" + QByteArray::number(i);
        const int next = !deep                           ? dup(fd)
                         : mkdirat(fd, level, 0755) == 0 ? openat(fd, level, O_RDONLY | O_DIRECTORY)
                                                         : -1;
        close(fd);
        fd = next;
    }
    QVERIFY(close(fd) == 0);
    sync();
    // LeakSanitizer, in the sanitizer build, cannot work under ptrace.
    QVERIFY2(runTool("env", {"ASAN_OPTIONS=detect_leaks=0", "strace", "-f", "-qq", "-e",
                             "trace=rename,renameat,renameat2", "-o", trace, TolxLaunch().program,
                             flags, QFile::decodeName(top)}),
             "strace or the program failed");
    QFile log(trace);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QSet<QByteArray> passedThrough;
    QSet<qsizetype> lengths;
    const QRegularExpression rename("\"([^\"]{6,})\"(, [A-Z_]+)?\\) = ");
    for (auto match = rename.globalMatch(QString::fromLatin1(log.readAll())); match.hasNext();) {
        const QByteArray name = match.next().captured(1).toLatin1();
        passedThrough << name;
        lengths << name.size();
    }
    QVERIFY(passedThrough.size() >= files);
    QVERIFY(image.unmount());
    const QByteArray raw = image.rawBytes();
    QVERIFY2(!raw.isEmpty() && !raw.contains(kMarker), "file contents survived");
    // Whole old names: three bytes alone turn up in the random passes by chance.
    for (const char* old : {"BatchTopQ7Z", "SmallSecretQ7Z", "LevelQ7Z"})
        QVERIFY2(!raw.contains(old), raw.mid(raw.indexOf(old) - 20, 40).toPercentEncoding());
    const auto isNameByte = [](char c) { return std::isalnum(static_cast<unsigned char>(c)); };
    for (qsizetype start = 0, end = 0; start < raw.size(); start = end + 1) {
        for (end = start; end < raw.size() && isNameByte(raw[end]);)
            ++end;
        for (qsizetype from = start; from < end; ++from)
            for (const qsizetype length : lengths)
                QVERIFY2(from + length > end || !passedThrough.contains(raw.mid(from, length)),
                         raw.mid(from, length).constData());
    }
}

} // namespace

class TestTolx : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // 7 passes: a byte, its complement, random, two more bytes, the last one's complement,
    // random. 35 passes: 4 random, the 27 fixed patterns shuffled, 4 random. Drawn anew per file.
    void methodsFollowTheirSequences()
    {
        const QByteArray fixed = "00 11 22 249249 249249 33 44 492492 492492 55 55 66 6DB6DB 77 "
                                 "88 924924 924924 99 AA AA B6DB6D BB CC DB6DB6 DD EE FF";
        RandomStream random;
        QSet<QByteArray> firstBytes, orders;
        for (int file = 0; file < 4; ++file) {
            const auto seven = passPlanFor(ShredMethod::SevenPass, random);
            QByteArray kinds;
            for (const PassPattern& pass : seven)
                kinds += pass.isRandom() ? 'r' : char('0' + pass.bytes().size());
            QCOMPARE(kinds, QByteArray("11r111r"));
            QCOMPARE(seven[1].bytes()[0], std::uint8_t(~seven[0].bytes()[0]));
            QCOMPARE(seven[5].bytes()[0], std::uint8_t(~seven[4].bytes()[0]));
            firstBytes << bytesOf(seven[0]);
            QByteArrayList patterns;
            for (const PassPattern& pass : passPlanFor(ShredMethod::ThirtyFivePass, random))
                patterns << bytesOf(pass).toHex().toUpper();
            QVERIFY(patterns.size() == 35 &&
                    patterns.mid(0, 4) + patterns.mid(31) == QByteArrayList(8, QByteArray()));
            orders << patterns.join(' ');
            patterns = patterns.mid(4, 27);
            std::sort(patterns.begin(), patterns.end());
            QCOMPARE(patterns.join(' '), fixed);
        }
        QVERIFY(firstBytes.size() > 1 && orders.size() > 1);
    }

    void passesOverwriteTheWholeRegion_data()
    {
        QTest::addColumn<bool>("direct");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("sparse");
        QTest::addColumn<qint64>("from");
        const auto chunk = qint64(kTestChunk);
        QTest::newRow("direct, unaligned tail") << true << 5 * chunk + 4097 << false << qint64(0);
        QTest::newRow("direct, aligned") << true << 2 * chunk << false << qint64(0);
        QTest::newRow("buffered") << false << chunk + 7 << false << qint64(0);
        QTest::newRow("smaller than a block") << true << qint64(5) << false << qint64(0);
        QTest::newRow("holes are written too") << true << qint64(1 << 20) << true << qint64(0);
        QTest::newRow("the part that grew") << true << 3 * chunk + 9 << false << chunk + 4101;
    }

    // Fixed patterns repeat from the file's first byte. Each pass must be whole and on the
    // device before the next starts: as each pass completes, the file's blocks are read from the
    // image under its file system, past every cache of the file (where root may loop-mount one).
    // Bytes before the region's first block stay as they were.
    void passesOverwriteTheWholeRegion()
    {
        QFETCH(bool, direct);
        QFETCH(qint64, size);
        QFETCH(bool, sparse);
        QFETCH(qint64, from);
        QTemporaryDir dir;
        LoopImage image(dir.filePath("image"), dir.filePath("mnt"), 8);
        const QByteArray path =
            QFile::encodeName(image.isMounted() ? image.path("f") : dir.filePath("f"));
        QVERIFY(writeFile(path, sparse ? "" : QByteArray(size, '\xE7'), O_TRUNC | O_SYNC));
        QVERIFY(truncate(path, size) == 0);
        const std::vector<PassPattern> passes = {
            PassPattern::repeated(0x92, 0x49, 0x24), PassPattern::random(),
            PassPattern::repeated(0xB6, 0xDB, 0x6D), PassPattern::repeated(0x00)};
        const qsizetype start = from - from % qint64(ChunkProducer::kAlignment);
        const auto length = std::uint64_t(size - start);
        QByteArrayList seen;
        std::vector<std::uint64_t> progress;
        int fd = open(path, O_WRONLY | (direct ? O_DIRECT : 0));
        if (fd < 0 && errno == EINVAL)
            fd = open(path, O_WRONLY);
        RandomStream random;
        ChunkProducer producer(random, kTestChunk);
        const DeviceSync sync;
        FileOverwriter overwriter(producer, sync);
        const int error = overwriter.overwrite(
            fd, std::uint64_t(from), std::uint64_t(size), passes, [&](std::uint64_t done) {
                progress.push_back(done);
                if (done % length == 0)
                    seen << (image.isMounted() ? onDevice(fd, size, dir.filePath("image"))
                                               : readFile(path));
            });
        struct stat status {};
        QVERIFY(fstat(fd, &status) == 0 && close(fd) == 0 && error == 0);
        QVERIFY(status.st_size == size && status.st_blocks * 512 >= size);
        QCOMPARE(seen.size(), qsizetype(passes.size()));
        for (QByteArray& pass : seen) {
            QCOMPARE(pass.left(start), QByteArray(start, '\xE7'));
            pass.remove(0, start);
        }
        for (const std::size_t fixed : {0, 2, 3}) {
            const QByteArray pattern = bytesOf(passes[fixed]);
            QCOMPARE(seen[fixed], pattern.repeated(size).mid(start % pattern.size(), size - start));
        }
        // Random data does not compress.
        QVERIFY(seen[1] != seen[0] && qCompress(seen[1]).size() > seen[1].size() * 99 / 100);
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
        QCOMPARE(progress.back(), length * passes.size());
        if (!image.isMounted())
            QSKIP(qPrintable("read through the cache, not from the device: " + image.error() +
                             LoopImage::skipReason()));
    }

    void itemsAreDestroyedWithSoundFraming_data()
    {
        QTest::addColumn<QByteArray>("flags");
        QTest::addColumn<QByteArray>("percents");
        QTest::newRow("1 pass") << QByteArray("-frsv") << QByteArray("100%");
        QTest::newRow("7 passes, paths on input")
            << QByteArray("-v -r -f -m -z") << QByteArray("14% 28% 42% 57% 71% 85% 100%");
        QTest::newRow("35 passes")
            << QByteArray("-rvf")
            << QByteArray("2% 5% 8% 11% 14% 17% 20% 22% 25% 28% 31% 34% "
                          "37% 40% 42% 45% 48% 51% 54% 57% 60% 62% 65% "
                          "68% 71% 74% 77% 80% 82% 85% 88% 91% 94% 97% 100%");
    }

    // Awkward names, links, FIFOs, a hard link: links are never followed, FIFOs never opened,
    // and the data under a hard link's other name is overwritten. A later chunk of the app's
    // list repeats paths the first chunk destroyed: missing paths are reported, not failed.
    void itemsAreDestroyedWithSoundFraming()
    {
        QFETCH(QByteArray, flags);
        QFETCH(QByteArray, percents);
        Sandbox box;
        const QByteArray top = box.mkdir("top");
        for (const char* folder : {"top/sub", "top/sub/deeper", "top/sub/empty"})
            box.mkdir(folder);
        for (const char* name : {"line\nfeed", "line\\nfeed", "50%", "\xff\x80 not utf-8", "sub/b"})
            QVERIFY(writeFile(top + '/' + name, kMarker));
        const QByteArray keep = box.mkdir("outside") + "/keep", named = box.path("named-link"),
                         hard = box.path("hard");
        QVERIFY(writeFile(keep, kMarker) && symlink(keep, named) == 0 &&
                mkfifo(top + "/fifo", 0644) == 0 && writeFile(top + "/zero", {}));
        QVERIFY(symlink(box.path("outside"), top + "/to-folder") == 0 &&
                symlink("loop", top + "/loop") == 0 && writeFile(top + "/a", markerBytes(300000)));
        QVERIFY(writeFile(hard, markerBytes(70000)) && link(hard, box.path("hard-other")) == 0);
        const QList<QByteArray> paths{
            box.path("missing/nowhere"), top, named, named + "/", hard, hard};
        const bool onInput = flags.endsWith('z');
        const TolxRun run = TolxRun::run(flags.split(' ') + (onInput ? QList<QByteArray>() : paths),
                                         {.input = onInput ? paths.join('\0') + '\0' : ""});
        QVERIFY2(run.succeeded() && run.framingFault().isEmpty(), run.errors + run.framingFault());
        QVERIFY(run.errors.contains(paths.first()) && run.errors.contains("other name"));
        QVERIFY(!exists(top) && !exists(named) && !exists(hard) && readFile(keep) == kMarker);
        QVERIFY(!readFile(box.path("hard-other")).contains(kMarker) && run.lines.contains("100%"));
        QCOMPARE(run.lines.first(), "removing " + top);
        // Each pass over a file of one chunk ends in a percentage of its own.
        const qsizetype a = run.lines.indexOf("removing " + top + "/a");
        QCOMPARE(run.lines.mid(a + 1, run.lines.indexOf("done", a) - a - 1).join(' '), percents);
        for (const char* item : {"/a", "/zero", "/sub", "/sub/b", "/sub/deeper", "/sub/empty",
                                 "/line\\nfeed", "/line\\\\nfeed", "/\xff\x80 not utf-8", "/fifo"})
            QVERIFY2(run.lines.contains("removing " + top + item), item);
    }

    void usageAndFailureStatuses()
    {
        Sandbox box;
        const QByteArray folder = box.mkdir("folder");
        for (const QList<QByteArray>& wrong : {QList<QByteArray>{"-frxv", folder},
                                               {"--frobnicate", folder},
                                               {"-frsv"},
                                               {"-frsvz", folder},
                                               {"-frsv", ""}})
            QCOMPARE(TolxRun::run(wrong).exitCode, 64);
        QVERIFY(TolxRun::run({"--help"}).lines.join('\n').contains("line feed"));
        QCOMPARE(TolxRun::run({"-fsv", folder}).exitCode, 1);
        QVERIFY(writeFile(box.mkdir("folder/sub") + "/keep", kMarker));
        for (const char* tail : {"/.", "/..", "/sub/.."})
            QCOMPARE(TolxRun::run({"-frsv", folder + tail}).exitCode, 1);
        QCOMPARE(readFile(folder + "/sub/keep"), kMarker);
        const QByteArray whole = box.path("whole"), cutOff = box.path("victim");
        QVERIFY(writeFile(whole, kMarker) && writeFile(cutOff, kMarker));
        // An empty record would name the working folder: the whole list is refused.
        const TolxLaunch emptyRecord{.input = whole + '\0' + '\0', .inChild = [&] {
                                         if (chdir(folder) != 0)
                                             _exit(99);
                                     }};
        QCOMPARE(TolxRun::run({"-frsvz"}, emptyRecord).exitCode, 64);
        QVERIFY(exists(folder) && exists(whole));
        // The list's writer died in the middle of a path: what arrived of it names another file.
        const TolxRun run = TolxRun::run({"-frsvz"}, {.input = whole + '\0' + cutOff});
        QVERIFY(run.exitCode == 1 && !exists(whole) && run.errors.contains(cutOff));
        QCOMPARE(readFile(cutOff), kMarker);
    }

    // Each row: flags, the path named, the folder's and the file's modes (octal), inode flags
    // of the folder (a: append-only, i: immutable, -: none; r: none, and everything is root's and
    // run as root; o: none, and everything is root's), and whether the file goes.
    void permissionsAreMetNeverBypassed_data()
    {
        QTest::addColumn<QByteArray>("row");
        for (const char* row :
             {"-rsv base 755 444 - kept", "-frsv base 755 464 - gone", "-frsv base 755 2444 - gone",
              "-rsv base 555 644 - kept", "-frsv base 555 644 - gone",
              "-frsv base/sub/file 555 644 - kept", "-frsv base 0 644 - kept",
              "-frsv base 755 644 a kept", "-frsv base 755 644 i kept", "-rsv base 755 444 r kept",
              "-frsv base 755 444 r gone", "-frsv base/sub/file 1777 666 o kept"})
            QTest::newRow(row) << QByteArray(row);
    }

    // An item that must stay is left intact, never emptied. Modes are met as the user "nobody";
    // inode flags as root, who may set them.
    void permissionsAreMetNeverBypassed()
    {
        QFETCH(QByteArray, row);
        if (geteuid() != 0)
            QSKIP("needs root, to run the program as 'nobody' and to set inode flags");
        const QList<QByteArray> fields = row.split(' ');
        const auto fileMode = mode_t(fields[3].toInt(nullptr, 8));
        const int inodeFlags = fields[4] == "a"   ? FS_APPEND_FL
                               : fields[4] == "i" ? FS_IMMUTABLE_FL
                                                  : 0;
        const bool destroyed = fields[5] == "gone";
        Sandbox box;
        const QByteArray sub = box.mkdir("base") + "/sub", file = sub + "/file";
        const QByteArray otherName = box.path("other-name");
        QVERIFY(box.mkdir("base/sub") == sub && writeFile(file, kMarker) &&
                link(file, otherName) == 0);
        const bool asRoot = inodeFlags != 0 || fields[4] == "r";
        const TolxLaunch launch = asRoot ? TolxLaunch{} : TolxRun::asNobody(box);
        QVERIFY2(!launch.program.isEmpty(), "no user 'nobody' to run the program as");
        const passwd* owner = asRoot || fields[4] == "o" ? getpwuid(0) : getpwnam("nobody");
        for (const QByteArray& item : {box.path("base"), sub, file})
            QCOMPARE(lchown(item, owner->pw_uid, owner->pw_gid), 0);
        QVERIFY(chmod(file, fileMode) == 0 && chmod(sub, mode_t(fields[2].toInt(nullptr, 8))) == 0);
        if (inodeFlags != 0 && !setInodeFlags(sub, inodeFlags))
            QSKIP("the temporary folder's file system has no inode flags");
        const TolxRun run = TolxRun::run({fields[0], box.path(fields[1])}, launch);
        setInodeFlags(sub, 0);
        struct stat status {};
        QVERIFY(stat(otherName, &status) == 0 && run.exitCode == (destroyed ? 0 : 1));
        QVERIFY2(destroyed || run.errors.contains(sub), run.errors.constData());
        QVERIFY(exists(file) != destroyed && (readFile(otherName) == kMarker) != destroyed);
        QCOMPARE(status.st_mode & 07000, destroyed ? 0u : fileMode & 07000);
    }

    // Before its name goes, an item takes random names of its own name's length, half of it and
    // one, in its own folder; the last of them is the one removed. On a loop-mounted image, the
    // renames reach the journal before the removals do: one commit for the renames at least,
    // besides the one that empties the journal at the end.
    void namesGoThroughRandomOnesFirst()
    {
        QTemporaryDir work;
        LoopImage image(work.filePath("image"), work.filePath("mnt"), 8);
        const QByteArray top =
            QFile::encodeName(image.isMounted() ? image.mountPoint() : work.path());
        const QByteArray file = top + '/' + kNames[0], folder = top + '/' + kNames[3];
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(writeFile(file, kMarker, O_TRUNC | O_SYNC) && mkdir(folder, 0755) == 0 &&
                inotify_add_watch(watch, top, IN_MOVE | IN_DELETE) >= 0);
        sync();
        const qint64 commitsBefore = journalCommits(image);
        QVERIFY(TolxRun::run({"-frs", file, folder}).succeeded());
        const qint64 commits = journalCommits(image) - commitsBefore;
        QHash<QByteArray, QByteArray> movedTo;
        QSet<QByteArray> removed;
        alignas(inotify_event) char buffer[65536];
        QByteArray from;
        for (ssize_t n; (n = read(watch, buffer, sizeof buffer)) > 0;)
            for (const char* at = buffer; at < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                const QByteArray name(event->name);
                if (event->mask & IN_MOVED_FROM)
                    from = name;
                else if (event->mask & IN_MOVED_TO)
                    movedTo.insert(from, name);
                else
                    removed << name;
                at += sizeof(inotify_event) + event->len;
            }
        close(watch);
        for (const QByteArray& name : {kNames[0], kNames[3]}) {
            QList<qsizetype> lengths;
            QByteArray current = name;
            for (; movedTo.contains(current); current = movedTo.value(current))
                lengths << movedTo.value(current).size();
            QCOMPARE(lengths, QList<qsizetype>({name.size(), (name.size() + 1) / 2, 1}));
            QVERIFY(removed.contains(current) && !removed.contains(name));
        }
        if (!image.isMounted())
            QSKIP(qPrintable("the journal is watched on a loop-mounted image only: " +
                             image.error() + LoopImage::skipReason()));
        QVERIFY2(commits >= 2, QByteArray::number(commits));
    }

    // SIGTERM mid-overwrite stops at once and leaves the file whole under its name; SIGINT
    // while items are renamed and removed leaves none under a random name, and none it was told
    // done under its own. A reader that is gone stops nothing.
    void theRunStopsOnlyWhenAsked()
    {
        Sandbox box;
        const QByteArray big = box.path("big");
        QVERIFY(writeFile(big, markerBytes(32 << 20)));
        QProcess overwriting;
        startUntil(overwriting, {"-frv", QFile::decodeName(big)}, "%");
        QVERIFY(stopWith(overwriting, SIGTERM));
        QCOMPARE(readFile(big).size(), 32 << 20);
        const QByteArray many = box.mkdir("many");
        for (int i = 0; i < 5000; ++i)
            QVERIFY(writeFile(many + "/item-" + QByteArray::number(i), {}));
        QProcess removing;
        QByteArray printed = startUntil(removing, {"-frsv", QFile::decodeName(many)}, "done");
        QVERIFY(stopWith(removing, SIGINT));
        const QStringList left = QDir(QFile::decodeName(many)).entryList(QDir::Files);
        const QStringList renamed = left.filter(QRegularExpression("^(?!item-)"));
        QVERIFY2(!left.isEmpty() && renamed.isEmpty(), qPrintable(renamed.join(' ')));
        QByteArray item;
        for (const QByteArray& line : (printed += removing.readAllStandardOutput()).split('\n')) {
            item = line.startsWith("removing ") ? line.mid(9) : item;
            QVERIFY2(line != "done" || !exists(item), item);
        }
        const TolxRun run = TolxRun::run({"-frsv", big}, {.inChild = [] {
                                             int ends[2];
                                             if (pipe(ends) != 0 || dup2(ends[1], 1) < 0)
                                                 _exit(99);
                                             close(ends[0]);
                                         }});
        QVERIFY2(run.succeeded() && !exists(big), run.errors.constData());
    }

    // Another program swaps the named file with one outside, again and again, while the run looks
    // at it and opens it: the run that meets a swap between the two turns the item away and
    // leaves both whole.
    void anItemSwappedAfterTheLookIsTurnedAway()
    {
        Sandbox box;
        const QByteArray named = box.mkdir("folder") + "/named", outside = box.path("outside");
        TolxRun run;
        for (int attempt = 0; attempt < 500 && !run.errors.contains("changed"); ++attempt) {
            QVERIFY(writeFile(named, "named") && writeFile(outside, "outside"));
            std::atomic<bool> stop = false;
            std::thread swapper([&] {
                while (!stop)
                    renameat2(AT_FDCWD, named, AT_FDCWD, outside, RENAME_EXCHANGE);
            });
            run = TolxRun::run({"-frs", named});
            stop = true;
            swapper.join();
        }
        QVERIFY2(run.exitCode == 1, run.errors);
        QCOMPARE(QSet<QByteArray>({readFile(named), readFile(outside)}),
                 QSet<QByteArray>({"named", "outside"}));
    }

    // Data a program appends while the file is overwritten would be freed unread: each new part
    // is overwritten in a round of its own, two rounds at most. Here the file grows again as
    // soon as each round begins (the program held still meanwhile), so it is left after three.
    void aFileThatKeepsGrowingIsLeftInPlace()
    {
        Sandbox box;
        const QByteArray file = box.path("log"), part = markerBytes(16 << 20);
        QVERIFY(writeFile(file, part));
        QProcess process;
        process.start(TolxLaunch().program, {"-rs", QFile::decodeName(file)});
        QVERIFY(process.waitForStarted());
        const auto pid = pid_t(process.processId());
        const int fd = open(file, O_RDONLY);
        int parts = 1;
        for (qint64 last = 0; !process.waitForFinished(1);) {
            std::array<char, 16> start{};
            if (parts > 6 || pread(fd, start.data(), start.size(), last) != qint64(start.size()) ||
                kMarker.startsWith(QByteArray(start.data(), start.size())))
                continue;
            QVERIFY(kill(pid, SIGSTOP) == 0);
            last = lseek(fd, 0, SEEK_END);
            QVERIFY(writeFile(file, part, O_APPEND) && kill(pid, SIGCONT) == 0);
            ++parts;
        }
        close(fd);
        const QByteArray errors = process.readAllStandardError();
        QVERIFY2(process.exitCode() == 1 && errors.contains("still being written"), errors);
        QCOMPARE(parts, 4);
        QCOMPARE(QFileInfo(QFile::decodeName(file)).size(), 4 * part.size());
    }

    void aVeryDeepTreeIsDestroyed_data()
    {
        QTest::addColumn<QByteArray>("flags");
        QTest::addColumn<QByteArray>("kept");
        QTest::newRow("all of it") << QByteArray("-frsv") << QByteArray();
        QTest::newRow("but a read-only file") << QByteArray("-rs") << QByteArray("read-only");
        QTest::newRow("but what the stop met") << QByteArray("-rv") << QByteArray("stopped");
    }

    // Seven hundred levels, with few descriptors to spare and memory for the read buffers of a
    // few levels only (the sanitizers need memory of their own). A file that stays six hundred
    // levels down, one its owner made read-only or one being overwritten when the run is
    // stopped, stays at its own path, and so do the folders holding it. Each folder is told of
    // under its own path: a moved one is never met again under its moved name.
    void aVeryDeepTreeIsDestroyed()
    {
        QFETCH(QByteArray, flags);
        QFETCH(QByteArray, kept);
        Sandbox box;
        const QByteArray top = box.mkdir("deep");
        QVERIFY(close(openDeep(top, 700, true)) == 0);
        const QByteArray content = markerBytes(kept == "stopped" ? 32 << 20 : 100);
        if (!kept.isEmpty()) {
            const int holder = openDeep(top, 600);
            const QByteArray file = "/proc/self/fd/" + QByteArray::number(holder) + "/file";
            QVERIFY(writeFile(file, content) && chmod(file, kept == "stopped" ? 0644 : 0444) == 0);
            close(holder);
        }
        const TolxLaunch few{.inChild = [] {
            const rlimit few{64, 64};
            setrlimit(RLIMIT_NOFILE, &few);
#ifndef __SANITIZE_ADDRESS__
            const rlimit flat{32 << 20, 32 << 20};
            setrlimit(RLIMIT_DATA, &flat);
#endif
        }};
        if (kept == "stopped") {
            QProcess process;
            process.setChildProcessModifier(few.inChild);
            startUntil(process, {flags, top}, "%");
            QVERIFY(stopWith(process, SIGTERM));
        } else {
            const TolxRun run = TolxRun::run({flags, top}, few);
            const QRegularExpression told("^(done|\\d+%|removing " +
                                          QRegularExpression::escape(QFile::decodeName(top)) +
                                          "(/d)*)$");
            const auto ownPath = [&](const QByteArray& line) {
                return told.match(QFile::decodeName(line)).hasMatch();
            };
            QVERIFY2(run.exitCode == (kept.isEmpty() ? 0 : 1) &&
                         std::ranges::all_of(run.lines, ownPath),
                     run.errors.left(1000));
        }
        const int found = kept.isEmpty() ? -1 : openDeep(top, 600);
        QCOMPARE(exists(top), !kept.isEmpty());
        // Stopped mid-pass, it is part overwritten.
        QCOMPARE(readFile("/proc/self/fd/" + QByteArray::number(found) + "/file").size(),
                 kept.isEmpty() ? 0 : content.size());
        close(found);
    }

    void nothingOfTheFilesRemainsOnTheDevice_data()
    {
        QTest::addColumn<QString>("flags");
        QTest::addColumn<int>("smallFiles");
        QTest::addColumn<bool>("deep");
        for (const char* flags : {"-frsv", "-frmv", "-frv"})
            QTest::newRow(flags) << QString(flags) << 0 << false;
        QTest::newRow("-frsv, 600 small files") << QString("-frsv") << 600 << false;
        QTest::newRow("-frmv, a small file on each of 200 levels")
            << QString("-frmv") << 200 << true;
    }

    // Files of 1 byte, 4 KiB and 1 MiB and a nested folder, synced to the image, then shredded:
    // neither their contents nor their names may be found anywhere in the raw image, journal
    // included. (A 1-byte file's content is too short to search for; its name is checked.)
    // Data appended to a 4 MiB file while it is overwritten is overwritten too.
    void nothingOfTheFilesRemainsOnTheDevice()
    {
        QFETCH(QString, flags);
        QFETCH(int, smallFiles);
        QFETCH(bool, deep);
        QTemporaryDir work;
        LoopImage image(work.filePath("image"), work.filePath("mnt"), 24);
        if (!image.isMounted())
            QSKIP(qPrintable("no loop-mounted image: " + image.error() + LoopImage::skipReason()));
        if (smallFiles > 0) {
            nothingOfBatchedItemsRemains(image, flags, smallFiles, deep, work.filePath("trace"));
            return;
        }
        const auto at = [&](const QByteArray& name) { return QFile::encodeName(image.path(name)); };
        const QByteArray block = markerBytes(4096);
        QVERIFY(writeFile(at("growing"), block.repeated(1024)) && writeFile(at(kNames[0]), "M"));
        QVERIFY(writeFile(at(kNames[1]), block) && writeFile(at(kNames[2]), block.repeated(256)));
        QVERIFY(QDir().mkdir(at(kNames[3])));
        QVERIFY(writeFile(at(kNames[3] + '/' + kNames[4]), block.repeated(3)));
        sync();
        QVERIFY(image.rawBytes().contains(kMarker));
        QStringList arguments{flags, image.path("growing")};
        for (int i = 0; i < 4; ++i)
            arguments << image.path(kNames[i]);
        QProcess process;
        startUntil(process, arguments, "%");
        QVERIFY(writeFile(at("growing"), block.repeated(16), O_APPEND));
        QVERIFY(process.waitForFinished(60000) && process.exitCode() == 0);
        QVERIFY(image.unmount());
        const QByteArray raw = image.rawBytes();
        QVERIFY2(!raw.isEmpty() && !raw.contains(kMarker), "file contents survived");
        for (const QByteArray& name : kNames)
            QVERIFY2(!raw.contains(name), name.constData());
    }

    void syncsSeparatePassesAndPrecedeRemovals_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<QByteArray>("refused");
        QTest::addColumn<QByteArray>("callsPerSync");
        QTest::newRow("a file on its own") << 1 << QByteArray() << QByteArray("d");
        QTest::newRow("fdatasync refused") << 1 << QByteArray("d") << QByteArray("df");
        QTest::newRow("fdatasync and fsync refused") << 1 << QByteArray("df") << QByteArray("dfs");
        QTest::newRow("a batch") << 40 << QByteArray() << QByteArray();
    }

    // Each of 7 passes is written whole over every file before a sync, and synced before the
    // next pass starts: the syncs see 7 states of the files. A batch's new names are synced
    // before any entry goes: that sync sees every entry, none under its old name.
    void syncsSeparatePassesAndPrecedeRemovals()
    {
        QFETCH(int, files);
        QFETCH(QByteArray, refused);
        QFETCH(QByteArray, callsPerSync);
        Sandbox box;
        SyncSpy::refused = refused;
        SyncSpy::calls.clear();
        SyncSpy::fileStates.clear();
        SyncSpy::folderStates.clear();
        SyncSpy::watched.clear();
        const QByteArray folder = box.mkdir("batch");
        QStringList names;
        for (int i = 0; i < files; ++i) {
            names << QString("file-%1").arg(i);
            SyncSpy::watched << folder + '/' + names.last().toUtf8();
            QVERIFY(writeFile(SyncSpy::watched.last(), markerBytes(5000 + i)));
        }
        RandomStream random;
        ChunkProducer producer(random, kTestChunk);
        const DeviceSync sync(SyncSpy::calls_());
        FileOverwriter overwriter(producer, sync);
        const int folderFd = open(folder, O_RDONLY | O_DIRECTORY);
        struct stat place {};
        QVERIFY(fstat(folderFd, &place) == 0);
        if (files == 1) {
            const int fd = open(SyncSpy::watched[0], O_WRONLY);
            const auto passes = passPlanFor(ShredMethod::SevenPass, random);
            QCOMPARE(overwriter.overwrite(fd, 0, 5000, passes, [](std::uint64_t) {}), 0);
            close(fd);
            QCOMPARE(SyncSpy::calls, callsPerSync.repeated(7));
        } else {
            Reporter reporter(-1, -1, false);
            EntryRemover remover(random);
            RemovedFolders removedFolders;
            JournalPurger purger;
            RemovalBatch::Kept kept;
            RemovalBatch batch(ShredMethod::SevenPass, reporter, overwriter, sync, remover,
                               removedFolders, purger, random, kept);
            for (const QByteArray& path : SyncSpy::watched) {
                tolvex::tolx::UniqueFd fd(open(path, O_WRONLY));
                struct stat status {};
                QVERIFY(fstat(fd.get(), &status) == 0);
                QVERIFY(batch.addFile({folderFd, place.st_dev, place.st_ino},
                                      path.mid(folder.size() + 1).toStdString(), path.toStdString(),
                                      {status.st_dev, status.st_ino, 1}, fd,
                                      std::uint64_t(status.st_size)));
            }
            batch.flush();
            QVERIFY(batch.allDestroyed() && kept.empty());
            QCOMPARE(SyncSpy::folderStates.size(), 1);
            QCOMPARE(SyncSpy::folderStates[0].size(), files);
            for (const QString& name : SyncSpy::folderStates[0])
                QVERIFY2(!names.contains(name), qPrintable(name));
        }
        close(folderFd);
        QCOMPARE(SyncSpy::fileStates.size(), 7);
        for (const QByteArray& path : SyncSpy::watched)
            QVERIFY(!readFile(path).contains(kMarker));
        QCOMPARE(QDir(QFile::decodeName(folder)).entryList(QDir::Files).size(), files == 1 ? 1 : 0);
    }

    // Inside a folder, named directly, or a single file bound over another: a mount point is
    // never entered or overwritten.
    void mountPointsAreLeftAlone()
    {
        QTemporaryDir work;
        const auto at = [&](const char* name) { return QFile::encodeName(work.filePath(name)); };
        LoopImage outer(work.filePath("outer.img"), work.filePath("outer"), 8);
        if (!outer.isMounted())
            QSKIP(qPrintable("no loop-mounted image: " + outer.error() + LoopImage::skipReason()));
        const QByteArray folder = at("outer/folder"), source = at("source"), bound = at("bound");
        QVERIFY(mkdir(folder, 0755) == 0 && mkdir(folder + "/inner", 0755) == 0);
        LoopImage inner(work.filePath("inner.img"), QFile::decodeName(folder + "/inner"), 4);
        QVERIFY2(inner.isMounted(), inner.error().constData());
        QVERIFY(writeFile(folder + "/mine", kMarker) &&
                writeFile(folder + "/inner/theirs", kMarker));
        QVERIFY(writeFile(source, kMarker) && writeFile(bound, {}));
        QVERIFY(runTool("mount", {"--bind", QFile::decodeName(source), QFile::decodeName(bound)}));
        const TolxRun run = TolxRun::run({"-frsv", folder, folder + "/inner", bound});
        runTool("umount", {QFile::decodeName(bound)});
        QVERIFY(run.exitCode == 1 && run.errors.contains("inner: is a mount point") &&
                run.errors.contains("bound: is a mount point"));
        QVERIFY(!exists(folder + "/mine") && exists(folder));
        QVERIFY(readFile(folder + "/inner/theirs") == kMarker && readFile(source) == kMarker);
    }
};

QTEST_GUILESS_MAIN(TestTolx)
#include "test_tolx.moc"
