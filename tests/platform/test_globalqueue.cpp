#include "platform/GlobalQueue.h"

#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

using namespace tolvex;

class TestGlobalQueue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each block waits until all of them run at once, as shred runs wait for their helpers:
    // a pool that stopped growing at the number of cores would leave them waiting.
    void blockedBlocksNeverStarveTheOthers()
    {
        const int blocks = 2 * QThread::idealThreadCount() + 9;
        std::mutex mutex;
        std::condition_variable allArrived;
        int arrived = 0;
        std::atomic<int> sawEveryone = 0;
        for (int i = 0; i < blocks; ++i) {
            GlobalQueue::dispatchAsync([&] {
                std::unique_lock lock(mutex);
                ++arrived;
                allArrived.notify_all();
                if (allArrived.wait_for(lock, std::chrono::seconds(30),
                                        [&] { return arrived == blocks; }))
                    ++sawEveryone;
            });
        }
        GlobalQueue::waitForDone();
        QCOMPARE(sawEveryone.load(), blocks);
    }
};

QTEST_GUILESS_MAIN(TestGlobalQueue)
#include "test_globalqueue.moc"
