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
        all.chop(all.endsWith('\n') ? 1 : 0);
        return all.isEmpty() ? QList<QByteArray>() : all.split('\n');
    }

private:
    int fds_[2];
};

// The parsed options in short: "<passes>:<letters of force, recursive, verbose>:<paths>".
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
              (options.verbose ? "v" : "") + ':';
    QList<QByteArray> paths;
    for (const std::string& path : options.paths)
        paths.append(QByteArray::fromStdString(path));
    return result + paths.join(' ');
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
        QTest::addColumn<QByteArray>("commandLine");
        QTest::addColumn<QByteArray>("options");
        QTest::newRow("1 pass") << QByteArray("-frsv /a /b") << QByteArray("1:frv:/a /b");
        QTest::newRow("7 passes") << QByteArray("-frmv /a") << QByteArray("7:frv:/a");
        QTest::newRow("35 passes") << QByteArray("-frv /a") << QByteArray("35:frv:/a");
        QTest::newRow("any order, apart") << QByteArray("-v -s -r /a") << QByteArray("1:rv:/a");
        QTest::newRow("last method wins") << QByteArray("-sm /a -s") << QByteArray("1::/a");
        QTest::newRow("after --, a dash is a name")
            << QByteArray("-f -- -s /a") << QByteArray("35:f:-s /a");
    }

    void letterCombinations()
    {
        QFETCH(QByteArray, commandLine);
        QTEST(parsed(commandLine), "options");
    }
};

QTEST_GUILESS_MAIN(TestTolxOutput)
#include "test_tolx_output.moc"
