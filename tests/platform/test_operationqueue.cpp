// The two work queues: the size queue of named, prioritised operations and the global pool.
#include "platform/GlobalQueue.h"
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

class TestOperationQueue : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
        for (int i = 0; i < blocks; ++i) {
            GlobalQueue::dispatchAsync([&] {
                arrived.release();
                if (arrived.tryAcquire(blocks, 30000)) {
                    arrived.release(blocks);
                    ++sawEveryone;
                }
            });
        }
        GlobalQueue::waitForDone();
        QCOMPARE(sawEveryone.load(), blocks);
    }
};

QTEST_GUILESS_MAIN(TestOperationQueue)
#include "test_operationqueue.moc"
