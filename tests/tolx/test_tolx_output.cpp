#include "tolx/CommandLine.h"
#include "tolx/PathList.h"
#include "tolx/Reporter.h"

#include <QTest>
#include <fcntl.h>
#include <unistd.h>

using namespace tolvex::tolx;

namespace {

// A pipe like the one the app reads.
class Capture {
public:
    Capture()
    {
        if (pipe2(fds_, O_NONBLOCK) != 0)
            qFatal("pipe");
    }
    ~Capture()
    {
        close(fds_[0]);
        close(fds_[1]);
    }
    int fd() const { return fds_[1]; }
    QList<QByteArray> lines()
    {
        QByteArray all;
        char buffer[4096];
        for (ssize_t n; (n = read(fds_[0], buffer, sizeof buffer)) > 0;)
            all.append(buffer, n);
        return all.isEmpty() ? QList<QByteArray>() : all.chopped(1).split('\n');
    }

private:
    int fds_[2];
};

// The parsed options in short: "<passes>:<letters of force, recursive, verbose, -z>:<paths>".
QByteArray parsed(const QByteArray& commandLine)
{
    QList<QByteArray> arguments = ("tolx " + commandLine).split(' ');
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const Invocation invocation = CommandLine::parse(int(arguments.size()), argv.data());
    if (invocation.action != Invocation::Action::Shred)
        return "not a shred";
    const Options& options = invocation.options;
    QByteArray result = QList<QByteArray>{"1", "7", "35"}[int(options.method)] + ':';
    result += QByteArray(options.force ? "f" : "") + (options.recursive ? "r" : "") +
              (options.verbose ? "v" : "") + (options.pathsFromInput ? "z" : "") + ':';
    for (const std::string& path : options.paths)
        result += QByteArray::fromStdString(path) + (&path == &options.paths.back() ? "" : " ");
    return result;
}

} // namespace

class TestTolxOutput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void percentagesAreWholeRisingAndStartAfreshPerItem()
    {
        Capture out;
        Reporter reporter(out.fd(), out.fd(), true);
        reporter.removing("/a");
        constexpr std::uint64_t kTotal = 3 * 1000003;
        for (std::uint64_t done = 0; done < kTotal; done += 997)
            reporter.progress(done, kTotal);
        reporter.progress(kTotal - 1, kTotal);
        reporter.progress(kTotal, kTotal);
        reporter.progress(kTotal, kTotal);
        reporter.done();
        reporter.removing("/b");
        reporter.progress(1, 2);
        QList<QByteArray> expected{"removing /a"};
        for (int percent = 0; percent <= 100; ++percent)
            expected << QByteArray::number(percent) + '%';
        expected << "done"
                 << "removing /b"
                 << "50%";
        QCOMPARE(out.lines(), expected);
    }

    // A name holding a backslash and the letter n must not print like one holding a line feed;
    // without -v only problems are written.
    void pathsAreEscapedUnambiguously()
    {
        QCOMPARE(lineSafePath("/a\\nb"), std::string("/a\\\\nb"));
        QCOMPARE(lineSafePath("/x\ny\\z\n\xff"), std::string("/x\\ny\\\\z\\n\xff"));
        Capture progress;
        Capture problems;
        Reporter(progress.fd(), problems.fd(), true).removing("/tmp/two\nlines");
        Reporter quiet(progress.fd(), problems.fd(), false);
        quiet.removing("/a");
        quiet.progress(1, 2);
        quiet.problem("/tmp/bad\\name", "why");
        QCOMPARE(progress.lines(), QList<QByteArray>({"removing /tmp/two\\nlines"}));
        QCOMPARE(problems.lines(), QList<QByteArray>({"tolx: /tmp/bad\\\\name: why"}));
    }

    void letterCombinations_data()
    {
        QTest::addColumn<QByteArray>("commandLine");
        QTest::addColumn<QByteArray>("options");
        QTest::newRow("1 pass") << QByteArray("-frsv /a /b") << QByteArray("1:frv:/a /b");
        QTest::newRow("7 passes") << QByteArray("-frmv /a") << QByteArray("7:frv:/a");
        QTest::newRow("35 passes") << QByteArray("-frv /a") << QByteArray("35:frv:/a");
        QTest::newRow("any order, apart") << QByteArray("-v -s -r /a") << QByteArray("1:rv:/a");
        QTest::newRow("last method wins") << QByteArray("-sm /a -s") << QByteArray("1::/a");
        QTest::newRow("after --, a dash is a name")
            << QByteArray("-f -- -s /a") << QByteArray("35:f:-s /a");
        QTest::newRow("paths on input") << QByteArray("-v -r -f -s -z") << QByteArray("1:frvz:");
        QTest::newRow("paths on input and in arguments")
            << QByteArray("-z /a") << QByteArray("not a shred");
    }

    void letterCombinations()
    {
        QFETCH(QByteArray, commandLine);
        QTEST(parsed(commandLine), "options");
    }

    // Raw bytes, each path ended by a NUL; what follows the last NUL is only a cut-off path.
    void pathListsEndAtTheirLastNul()
    {
        int ends[2];
        QCOMPARE(pipe(ends), 0);
        const QByteArray list("/a\0/b\nc\0\0/\xff\0/cut", 16);
        QCOMPARE(write(ends[1], list.constData(), size_t(list.size())), list.size());
        close(ends[1]);
        const PathList read = PathList::read(ends[0]);
        close(ends[0]);
        QVERIFY(read.paths == std::vector<std::string>({"/a", "/b\nc", "", "/\xff"}));
        QVERIFY(read.cutOff == "/cut");
    }
};

QTEST_GUILESS_MAIN(TestTolxOutput)
#include "test_tolx_output.moc"
