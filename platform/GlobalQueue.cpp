#include "GlobalQueue.h"

#include <QThreadPool>

namespace tolvex {

namespace {

// Far more than the blocks that may wait at once (a run per method, each of its chunks, the
// privacy clean-ups), so a new block always finds or gets a thread.
constexpr int kMaxThreads = 256;

QThreadPool& pool()
{
    // Never destroyed: quitting must not wait for a block that waits for a helper program.
    static QThreadPool* const instance = [] {
        auto* threads = new QThreadPool;
        threads->setMaxThreadCount(kMaxThreads);
        return threads;
    }();
    return *instance;
}

} // namespace

void GlobalQueue::dispatchAsync(Block block)
{
    pool().start(std::move(block));
}

void GlobalQueue::waitForDone()
{
    pool().waitForDone();
}

} // namespace tolvex
