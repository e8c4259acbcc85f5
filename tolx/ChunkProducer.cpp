#include "tolx/ChunkProducer.h"

#include "tolx/RandomStream.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <new>

namespace tolvex::tolx {

void ChunkProducer::FreeAligned::operator()(std::byte* memory) const
{
    std::free(memory);
}

ChunkProducer::ChunkProducer(RandomStream& random, std::size_t chunkSize)
    : random_(random), chunkSize_(chunkSize)
{
    for (Slot& slot : slots_) {
        slot.memory.reset(static_cast<std::byte*>(std::aligned_alloc(kAlignment, chunkSize_)));
        if (!slot.memory)
            throw std::bad_alloc();
    }
    // Signals to the process must reach the main thread, which holds them off while it removes
    // an item. The worker starts with every signal blocked: had it blocked them itself, a stop
    // request arriving before it first ran would land on it and end the program mid-rename.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &previous);
    worker_ = std::thread([this] { work(); });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

ChunkProducer::~ChunkProducer()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void ChunkProducer::begin(const PassPattern& pattern, std::uint64_t from, std::uint64_t to)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !slots_[0].pending && !slots_[1].pending; });
    for (Slot& slot : slots_)
        slot.ready = false;
    pattern_ = pattern;
    end_ = to;
    requested_ = from;
    handedOut_ = from;
    requestCount_ = 0;
    handOutCount_ = 0;
    if (to - from > chunkSize_) {
        requestNextLocked();
        lock.unlock();
        changed_.notify_all();
        return;
    }
    // A pass of one chunk is filled here: handing it to the worker and back costs more.
    Slot& slot = slots_[0];
    slot.offset = from;
    slot.length = static_cast<std::size_t>(to - from);
    requested_ = to;
    requestCount_ = 1;
    lock.unlock();
    pattern.fill(slotSpan(slot), from, random_);
    lock.lock();
    slot.ready = true;
}

std::span<const std::byte> ChunkProducer::next()
{
    std::unique_lock lock(mutex_);
    if (handedOut_ >= end_)
        return {};
    // The slot handed out last time is free again: start filling it with the chunk after this.
    requestNextLocked();
    changed_.notify_all();
    Slot& slot = slots_[handOutCount_ % slots_.size()];
    changed_.wait(lock, [&slot] { return slot.ready; });
    slot.ready = false;
    handedOut_ += slot.length;
    ++handOutCount_;
    return slotSpan(slot);
}

void ChunkProducer::requestNextLocked()
{
    if (requested_ >= end_)
        return;
    Slot& slot = slots_[requestCount_ % slots_.size()];
    slot.offset = requested_;
    slot.length = static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize_, end_ - requested_));
    slot.pending = true;
    requested_ += slot.length;
    ++requestCount_;
}

std::span<std::byte> ChunkProducer::slotSpan(const Slot& slot) const
{
    return std::span(slot.memory.get(), slot.length);
}

void ChunkProducer::work()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || slots_[0].pending || slots_[1].pending; });
        if (stopping_)
            return;
        // Of two pending chunks, the earlier one in the file is needed first.
        Slot* slot = &slots_[0];
        if (!slot->pending || (slots_[1].pending && slots_[1].offset < slot->offset))
            slot = &slots_[1];
        const PassPattern pattern = pattern_;
        const std::span<std::byte> chunk = slotSpan(*slot);
        const std::uint64_t offset = slot->offset;
        lock.unlock();
        pattern.fill(chunk, offset, random_);
        lock.lock();
        slot->pending = false;
        slot->ready = true;
        changed_.notify_all();
    }
}

} // namespace tolvex::tolx
