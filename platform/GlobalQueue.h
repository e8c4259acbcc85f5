#pragma once

#include <functional>

namespace tolvex {

// The default-priority global queue: blocks submitted from any thread run concurrently on a
// process-wide pool of worker threads, in no promised order. The pool grows instead of making a
// block wait while its threads are busy, because its blocks may hold their thread for minutes
// (a shred run waits for its helper program): many blocked blocks never starve a new one.
class GlobalQueue {
public:
    using Block = std::function<void()>;

    static void dispatchAsync(Block block);

    // Waits until every block submitted so far, and every block they submitted, has returned.
    // For tests and orderly shutdown; never call it from a block.
    static void waitForDone();
};

} // namespace tolvex
