#include "platform/NativePath.h"
#include "platform/Task.h"

#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <csignal>
#include <mutex>

using namespace tolvex;

namespace {

const QString kShell = QStringLiteral("/bin/sh");

// What one run delivered to its handlers.
struct Run {
    std::mutex mutex;
    QList<QByteArray> lines;
    std::thread::id readerThread, terminationThread;
    qsizetype linesAtTermination = -1;
    bool runningAtTermination = true;
    std::atomic<bool> terminated = false;

    explicit Run(Task& task)
    {
        task.setReadabilityHandler([this](const QByteArray& line) {
            std::lock_guard lock(mutex);
            lines << line;
            readerThread = std::this_thread::get_id();
        });
        task.setTerminationHandler([this](Task& ended) {
            std::lock_guard lock(mutex);
            terminationThread = std::this_thread::get_id();
            linesAtTermination = lines.size();
            runningAtTermination = ended.isRunning();
            terminated = true;
        });
    }
};

} // namespace

class TestTask : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Standard error filled first: a reader that drained standard output first would wait on a
    // program that waits on it. An argument is a file name, and a file name is bytes: none may be
    // replaced on the way.
    void deliversEveryLineInOrderBeforeTermination()
    {
        const int count = 20000;
        Task task(kShell,
                  {"-c", QStringLiteral("seq 1 %1 >&2; seq 1 %1; printf '\\n%s' \"$0\"").arg(count),
                   decodeNativePath("caf\xe9\n\xff.txt")});
        Run run(task);
        std::atomic<int> errorLines = 0;
        task.setErrorReadabilityHandler([&](const QByteArray&) { ++errorLines; });
        QVERIFY(task.launch());
        task.waitUntilExit();

        QVERIFY(run.terminated); // waitUntilExit returns only after the handler
        for (int i = 0; i < count; ++i)
            QCOMPARE(run.lines[i], QByteArray::number(i + 1));
        // The name's line feed splits it; its end is a last line without one.
        QCOMPARE(run.lines.mid(count), QList<QByteArray>({"", "caf\xe9", "\xff.txt"}));
        QCOMPARE(run.linesAtTermination, count + 3);
        QCOMPARE(errorLines.load(), count);
        QVERIFY(!run.runningAtTermination);
        QCOMPARE(run.terminationThread, run.readerThread);
        QVERIFY(run.readerThread != std::this_thread::get_id());
    }

    // Input and output each far larger than a pipe holds, and a program that reads none of its
    // input: neither may stall the task, nor the broken pipe end this process.
    void feedsStandardInputWhileReadingTheOutput_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("lines");
        QTest::newRow("echoed") << "cat" << 200000;
        QTest::newRow("ignored") << "exit 0" << 0;
    }

    void feedsStandardInputWhileReadingTheOutput()
    {
        QFETCH(QString, script);
        QFETCH(int, lines);
        QByteArray input;
        for (int i = 0; i < 200000; ++i)
            input += QByteArray::number(i) + '\n';
        Task task(kShell, {"-c", script});
        task.setStandardInput(input);
        Run run(task);
        QVERIFY(task.launch());
        task.waitUntilExit();
        QCOMPARE(task.terminationStatus(), 0);
        QCOMPARE(run.lines.size(), lines);
        if (lines > 0)
            QCOMPARE(run.lines.join('\n') + '\n', input);
    }

    void terminateEndsARunningProgram()
    {
        Task task(kShell, {"-c", "echo ready; exec sleep 60"});
        Run run(task);
        QVERIFY(task.launch());
        QTRY_VERIFY([&] {
            std::lock_guard lock(run.mutex);
            return !run.lines.isEmpty();
        }());
        bool runningSeenElsewhere = false;
        std::thread([&] { runningSeenElsewhere = task.isRunning(); }).join();
        QVERIFY(runningSeenElsewhere);

        task.terminate();
        task.waitUntilExit();
        QCOMPARE(task.terminationReason(), Task::TerminationReason::UncaughtSignal);
        QCOMPARE(task.terminationStatus(), int(SIGTERM));
        task.terminate(); // after the end: nothing to signal
    }

    void refusesProgramsThatCannotRun()
    {
        // Missing, not executable, a folder.
        QTemporaryDir dir;
        for (const QString& path : {dir.filePath("missing"), QString("/etc/passwd"), dir.path()}) {
            Task task(path, {});
            Run run(task);
            QString error;
            QVERIFY2(!task.launch(&error), qPrintable(path));
            QVERIFY2(error.contains(path), qPrintable(error));
            QVERIFY(!task.isRunning());
            task.waitUntilExit();
            task.terminate();
            QVERIFY(!run.terminated);
        }
    }

    void mayBeDestroyedByItsTerminationHandler()
    {
        std::atomic<bool> destroyed = false;
        auto* task = new Task(kShell, {"-c", "echo bye"});
        task->setTerminationHandler([&](Task& ended) {
            delete &ended;
            destroyed = true;
        });
        QVERIFY(task->launch());
        QTRY_VERIFY(destroyed);
    }
};

QTEST_GUILESS_MAIN(TestTask)
#include "test_task.moc"
