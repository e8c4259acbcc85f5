#include "platform/OperationQueue.h"

#include <QStringList>
#include <QTest>
#include <future>

using namespace tolvex;

namespace {

class BlockOperation : public Operation {
public:
    explicit BlockOperation(std::function<void(Operation&)> work) : work_(std::move(work)) {}
    void main() override { work_(*this); }

private:
    std::function<void(Operation&)> work_;
};

std::shared_ptr<Operation> makeOperation(std::function<void(Operation&)> work)
{
    return std::make_shared<BlockOperation>(std::move(work));
}

QList<quint64> idsOf(const std::vector<std::shared_ptr<Operation>>& operations)
{
    QList<quint64> ids;
    for (const auto& operation : operations)
        ids << operation->id();
    return ids;
}

} // namespace

class TestOperationQueue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runsWaitingOperationsByPriorityThenInOrderAndListsThem()
    {
        OperationQueue queue;
        queue.setMaxConcurrentOperationCount(1);
        std::promise<void> entered;
        std::promise<void> released;
        const auto running = makeOperation([&](Operation&) {
            entered.set_value();
            released.get_future().wait();
        });
        queue.addOperation(running);
        entered.get_future().wait();

        std::mutex mutex;
        QStringList order;
        const auto record = [&](const QString& name) {
            std::lock_guard lock(mutex);
            order << name;
        };
        QList<quint64> listed{running->id()};
        const QList<std::pair<QString, int>> added{
            {"low", Operation::QueuePriorityVeryLow},
            {"normal", Operation::QueuePriorityNormal},
            {"first very high", Operation::QueuePriorityVeryHigh},
            {"high", Operation::QueuePriorityHigh},
            {"second very high", Operation::QueuePriorityVeryHigh}};
        for (const auto& [name, priority] : added) {
            // The lowest adds one more from inside its work; that one is waited for too.
            auto operation = makeOperation([&](Operation& self) {
                if (self.queuePriority() == Operation::QueuePriorityVeryLow)
                    queue.addOperation(makeOperation([&](Operation&) { record("added"); }));
                record(self.name());
            });
            operation->setName(name);
            operation->setQueuePriority(priority);
            queue.addOperation(operation);
            listed << operation->id();
        }
        QCOMPARE(idsOf(queue.operations()), listed);

        released.set_value();
        queue.waitUntilAllOperationsAreFinished();
        QCOMPARE(order, QStringList({"first very high", "second very high", "high", "normal", "low",
                                     "added"}));
        QVERIFY(queue.operations().empty());
    }

    void cancelSkipsWaitingOperationsAndTellsRunningOnes()
    {
        OperationQueue queue;
        queue.setMaxConcurrentOperationCount(1);
        std::promise<void> started;
        std::atomic<bool> sawCancel = false;
        std::atomic<bool> waitingRan = false;
        queue.addOperation(makeOperation([&](Operation& self) {
            started.set_value();
            while (!self.isCancelled())
                std::this_thread::yield();
            sawCancel = true;
        }));
        queue.addOperation(makeOperation([&](Operation&) { waitingRan = true; }));
        started.get_future().wait();

        queue.cancelAllOperations();
        queue.waitUntilAllOperationsAreFinished();
        QVERIFY(sawCancel);
        QVERIFY(!waitingRan);
        QVERIFY(queue.operations().empty());
    }
};

QTEST_GUILESS_MAIN(TestOperationQueue)
#include "test_operationqueue.moc"
