// The threads the app relies on: the main queue, the notification centre, the global pool and
// the size queue of named, prioritised operations.
#include "platform/GlobalQueue.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/OperationQueue.h"

#include <QSemaphore>
#include <QStringList>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

using namespace tolvex;

namespace {

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

class TestThreads : public QObject {
    Q_OBJECT

private Q_SLOTS:
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

QTEST_GUILESS_MAIN(TestThreads)
#include "test_threads.moc"
