#include "platform/GlobalQueue.h"

#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <atomic>

using namespace tolvex;

class TestGlobalQueue : public QObject {
    Q_OBJECT

private Q_SLOTS:
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

QTEST_GUILESS_MAIN(TestGlobalQueue)
#include "test_globalqueue.moc"
