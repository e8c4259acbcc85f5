#include "platform/OperationQueue.h"

#include <QStringList>
#include <QTest>
#include <thread>

using namespace tolvex;

namespace {

struct Block : Operation {
    explicit Block(std::function<void(Operation&)> work) : work(std::move(work)) {}
    void main() override { work(*this); }
    std::function<void(Operation&)> work;
};

std::shared_ptr<Operation> block(std::function<void(Operation&)> work)
{
    return std::make_shared<Block>(std::move(work));
}

// A queue that runs one operation at a time, held by a first one until released or cancelled.
struct HeldQueue {
    HeldQueue()
    {
        queue.setMaxConcurrentOperationCount(1);
        queue.addOperation(holder = block([this](Operation& self) {
                               entered = true;
                               while (!released && !self.isCancelled())
                                   std::this_thread::yield();
                           }));
        while (!entered)
            std::this_thread::yield();
    }
    OperationQueue queue;
    std::atomic<bool> entered = false;
    std::atomic<bool> released = false;
    std::shared_ptr<Operation> holder;
};

} // namespace

class TestOperationQueue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runsWaitingOperationsByPriorityThenInOrderAndListsThem()
    {
        HeldQueue held;
        std::mutex mutex;
        QStringList order;
        const auto record = [&](const QString& name) {
            std::lock_guard lock(mutex);
            order << name;
        };
        QList<quint64> listed{held.holder->id()};
        for (const auto& [name, priority] : std::initializer_list<std::pair<const char*, int>>{
                 {"low", Operation::QueuePriorityVeryLow},
                 {"normal", Operation::QueuePriorityNormal},
                 {"first very high", Operation::QueuePriorityVeryHigh},
                 {"high", Operation::QueuePriorityHigh},
                 {"second very high", Operation::QueuePriorityVeryHigh}}) {
            // The lowest adds one more from inside its work; that one is waited for too.
            auto operation = block([&](Operation& self) {
                if (self.queuePriority() == Operation::QueuePriorityVeryLow)
                    held.queue.addOperation(block([&](Operation&) { record("added"); }));
                record(self.name());
            });
            operation->setName(name);
            operation->setQueuePriority(priority);
            held.queue.addOperation(operation);
            listed << operation->id();
        }
        QList<quint64> ids;
        for (const auto& operation : held.queue.operations())
            ids << operation->id();
        QCOMPARE(ids, listed);

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
        held.queue.addOperation(block([&](Operation&) { waitingRan = true; }));
        held.queue.cancelAllOperations();
        held.queue.waitUntilAllOperationsAreFinished();
        QVERIFY(!waitingRan);
        QVERIFY(held.queue.operations().empty());
    }
};

QTEST_GUILESS_MAIN(TestOperationQueue)
#include "test_operationqueue.moc"
