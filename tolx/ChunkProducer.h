#pragma once

#include "tolx/PassPattern.h"

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

namespace tolvex::tolx {

class RandomStream;

// Hands out one pass's bytes chunk by chunk. A worker thread fills the next chunk while the
// caller writes the current one, so generating random data never holds up the device.
// Chunks are aligned for direct I/O.
class ChunkProducer {
public:
    static constexpr std::size_t kAlignment = 4096;

    // chunkSize must be a multiple of kAlignment.
    ChunkProducer(RandomStream& random, std::size_t chunkSize);
    ~ChunkProducer();
    ChunkProducer(const ChunkProducer&) = delete;
    ChunkProducer& operator=(const ChunkProducer&) = delete;

    // Starts a pass over the file's bytes from..to; a pass left unfinished is dropped.
    void begin(const PassPattern& pattern, std::uint64_t from, std::uint64_t to);
    // The pass's next chunk, in file order, valid until the next call; empty once the pass is
    // through.
    std::span<const std::byte> next();

private:
    struct FreeAligned {
        void operator()(std::byte* memory) const;
    };
    struct Slot {
        std::unique_ptr<std::byte, FreeAligned> memory;
        std::uint64_t offset = 0;
        std::size_t length = 0;
        bool pending = false;
        bool ready = false;
    };

    void work();
    void requestNextLocked();
    std::span<std::byte> slotSpan(const Slot& slot) const;

    RandomStream& random_;
    const std::size_t chunkSize_;
    std::array<Slot, 2> slots_;
    PassPattern pattern_ = PassPattern::random();
    std::uint64_t end_ = 0;
    std::uint64_t requested_ = 0;
    std::uint64_t handedOut_ = 0;
    std::size_t requestCount_ = 0;
    std::size_t handOutCount_ = 0;
    bool stopping_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread worker_;
};

} // namespace tolvex::tolx
