#include "tolx/CommandLine.h"
#include "tolx/Reporter.h"

#include <QTest>
#include <fcntl.h>
#include <unistd.h>

using namespace tolvex::tolx;

namespace {

// Captures what a Reporter writes, through a pipe like the one the app reads.
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
        if (all.endsWith('\n'))
            all.chop(1);
        return all.isEmpty() ? QList<QByteArray>() : all.split('\n');
    }

private:
    int fds_[2];
};

Invocation parse(QList<QByteArray> arguments)
{
    arguments.prepend("tolx");
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    return CommandLine::parse(int(arguments.size()), argv.data());
}

} // namespace

class TestTolxOutput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void percentagesAreWholeRisingAndFinalOnlyAtTheEnd()
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
        const QList<QByteArray> lines = out.lines();
        QCOMPARE(lines.first(), QByteArray("removing /a"));
        QCOMPARE(lines.last(), QByteArray("done"));
        QCOMPARE(lines.size(), 101 + 2);
        for (int i = 1; i <= 101; ++i)
            QCOMPARE(lines[i], QByteArray::number(i - 1) + '%');
    }

    void aNewItemStartsItsPercentagesAfresh()
    {
        Capture out;
        Reporter reporter(out.fd(), out.fd(), true);
        reporter.removing("/a");
        reporter.progress(1, 2);
        reporter.done();
        reporter.removing("/b");
        reporter.progress(1, 2);
        QCOMPARE(out.lines(),
                 QList<QByteArray>({"removing /a", "50%", "done", "removing /b", "50%"}));
    }

    void pathsWithALineFeedStayOnOneLine()
    {
        QCOMPARE(lineSafePath("/a\\b/c"), std::string("/a\\b/c"));
        QCOMPARE(lineSafePath("/x\ny\\z\n"), std::string("/x\\ny\\\\z\\n"));
        Capture out;
        Reporter reporter(out.fd(), out.fd(), true);
        reporter.removing("/tmp/two\nlines");
        reporter.problem("/tmp/bad\nname", "why");
        QCOMPARE(out.lines(),
                 QList<QByteArray>({"removing /tmp/two\\nlines", "tolx: /tmp/bad\\nname: why"}));
    }

    void quietWithoutVerboseExceptForProblems()
    {
        Capture progress;
        Capture problems;
        Reporter reporter(progress.fd(), problems.fd(), false);
        reporter.removing("/a");
        reporter.progress(1, 2);
        reporter.done();
        reporter.problem("/a", "could not");
        QVERIFY(progress.lines().isEmpty());
        QCOMPARE(problems.lines(), QList<QByteArray>({"tolx: /a: could not"}));
    }

    void letterCombinations_data()
    {
        QTest::addColumn<QList<QByteArray>>("arguments");
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("force");
        QTest::addColumn<bool>("recursive");
        QTest::addColumn<bool>("verbose");
        QTest::addColumn<QList<QByteArray>>("paths");
        const int one = int(ShredMethod::OnePass);
        const int seven = int(ShredMethod::SevenPass);
        const int thirtyFive = int(ShredMethod::ThirtyFivePass);
        QTest::newRow("1 pass") << QList<QByteArray>{"-frsv", "/a", "/b"} << one << true << true
                                << true << QList<QByteArray>{"/a", "/b"};
        QTest::newRow("7 passes") << QList<QByteArray>{"-frmv", "/a"} << seven << true << true
                                  << true << QList<QByteArray>{"/a"};
        QTest::newRow("35 passes") << QList<QByteArray>{"-frv", "/a"} << thirtyFive << true << true
                                   << true << QList<QByteArray>{"/a"};
        QTest::newRow("any order, apart") << QList<QByteArray>{"-v", "-s", "-r", "/a"} << one
                                          << false << true << true << QList<QByteArray>{"/a"};
        QTest::newRow("last method wins") << QList<QByteArray>{"-sm", "/a", "-s"} << one << false
                                          << false << false << QList<QByteArray>{"/a"};
        QTest::newRow("after --, a dash is a name")
            << QList<QByteArray>{"-f", "--", "-s", "/a"} << thirtyFive << true << false << false
            << QList<QByteArray>{"-s", "/a"};
    }

    void letterCombinations()
    {
        QFETCH(QList<QByteArray>, arguments);
        const Invocation invocation = parse(arguments);
        QCOMPARE(invocation.action, Invocation::Action::Shred);
        const Options& options = invocation.options;
        QTEST(int(options.method), "method");
        QTEST(options.force, "force");
        QTEST(options.recursive, "recursive");
        QTEST(options.verbose, "verbose");
        QList<QByteArray> paths;
        for (const std::string& path : options.paths)
            paths.append(QByteArray::fromStdString(path));
        QTEST(paths, "paths");
    }
};

QTEST_GUILESS_MAIN(TestTolxOutput)
#include "test_tolx_output.moc"
