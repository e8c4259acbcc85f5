// Child processes, and the threads the app relies on: the main queue, the notification centre,
// the global pool and the size queue of named, prioritised operations.
#include "platform/GlobalQueue.h"
#include "platform/MainQueue.h"
#include "platform/NativePath.h"
#include "platform/NotificationCenter.h"
#include "platform/OperationQueue.h"
#include "platform/Task.h"

#include <QSemaphore>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <csignal>
#include <mutex>
#include <thread>

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

struct Block : Operation {
    explicit Block(std::function<void(Operation&)> work) : work(std::move(work)) {}
    void main() override { work(*this); }
    std::function<void(Operation&)> work;
};

// A queue that runs one operation at a time, held by a first one until released or cancelled.
struct HeldQueue {
    HeldQueue()
    {
        queue.setMaxConcurrentOperationCount(1);
        queue.addOperation(holder = std::make_shared<Block>([this](Operation& self) {
                               entered = true;
                               while (!released && !self.isCancelled())
                                   std::this_thread::yield();
                           }));
        while (!entered)
            std::this_thread::yield();
    }
    OperationQueue queue;
    std::atomic<bool> entered = false, released = false;
    std::shared_ptr<Operation> holder;
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

    // Observers of the name hear it on the posting thread (here not the main one), in the order
    // they were added; an observer may take itself off and post again while it is called.
    void deliversOnPostingThreadInOrderOfObservers()
    {
        NotificationCenter center;
        QStringList seen;
        center.addObserver("a", [&](const Notification& n) {
            seen << "first:" + n.object.toString() + (MainQueue::isMainThread() ? " on main" : "");
        });
        center.addObserver("b", [&](const Notification&) { seen << "other"; });
        NotificationCenter::Token token = center.addObserver("a", [&](const Notification& n) {
            seen << "second:" + n.object.toString();
            center.removeObserver(token);
            center.post("a", QStringLiteral("again"));
        });
        std::thread([&] { center.post("a", QStringLiteral("x")); }).join();
        QCOMPARE(seen, QStringList({"first:x", "second:x", "first:again"}));
    }

    void mainQueueRunsPostedBlocksOnGuiThreadInOrder()
    {
        QStringList order;
        std::thread([&] {
            QVERIFY(!MainQueue::isMainThread());
            MainQueue::post([&] { order << (MainQueue::isMainThread() ? "1" : "1 off main"); });
            MainQueue::postAfter(30, [&] { order << "delayed"; });
            MainQueue::post([&] { order << "2"; });
        }).join();
        QVERIFY(order.isEmpty());
        QTRY_COMPARE(order, QStringList({"1", "2", "delayed"}));
    }

    void runsWaitingOperationsByPriorityThenInOrder()
    {
        HeldQueue held;
        QStringList order; // one operation at a time writes it
        for (const auto& [name, priority] : std::initializer_list<std::pair<const char*, int>>{
                 {"low", Operation::QueuePriorityVeryLow},
                 {"normal", Operation::QueuePriorityNormal},
                 {"first very high", Operation::QueuePriorityVeryHigh},
                 {"high", Operation::QueuePriorityHigh},
                 {"second very high", Operation::QueuePriorityVeryHigh}}) {
            // The lowest adds one more from inside its work; that one is waited for too.
            auto operation = std::make_shared<Block>([&](Operation& self) {
                if (self.queuePriority() == Operation::QueuePriorityVeryLow)
                    held.queue.addOperation(
                        std::make_shared<Block>([&](Operation&) { order << "added"; }));
                order << self.name();
            });
            operation->setName(name);
            operation->setQueuePriority(priority);
            held.queue.addOperation(operation);
        }
        QCOMPARE(held.queue.operations().size(), 6u);

        held.released = true;
        held.queue.waitUntilAllOperationsAreFinished();
        QCOMPARE(order, QStringList({"first very high", "second very high", "high", "normal", "low",
                                     "added"}));
        QVERIFY(held.queue.operations().empty());
    }

    // The holder ends only when it is told it is cancelled.
    void cancelSkipsWaitingOperationsAndTellsRunningOnes()
    {
        HeldQueue held;
        std::atomic<bool> waitingRan = false;
        held.queue.addOperation(std::make_shared<Block>([&](Operation&) { waitingRan = true; }));
        held.queue.cancelAllOperations();
        held.queue.waitUntilAllOperationsAreFinished();
        QVERIFY(!waitingRan);
        QVERIFY(held.queue.operations().empty());
    }

    // Each block waits until all of them run at once (one holds every arrival, then gives them
    // back), as shred runs wait for their helpers: a pool that stopped growing at the number of
    // cores would leave them waiting.
    void blockedBlocksNeverStarveTheOthers()
    {
        const int blocks = 2 * QThread::idealThreadCount() + 9;
        QSemaphore arrived;
        std::atomic<int> sawEveryone = 0;
        for (int i = 0; i < blocks; ++i)
            GlobalQueue::dispatchAsync([&] {
                arrived.release();
                if (arrived.tryAcquire(blocks, 30000)) {
                    arrived.release(blocks);
                    ++sawEveryone;
                }
            });
        GlobalQueue::waitForDone();
        QCOMPARE(sawEveryone.load(), blocks);
    }
};

QTEST_GUILESS_MAIN(TestTask)
#include "test_task.moc"
