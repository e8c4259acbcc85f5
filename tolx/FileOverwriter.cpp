#include "tolx/FileOverwriter.h"

#include "tolx/ChunkProducer.h"
#include "tolx/DeviceSync.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvex::tolx {

namespace {

// How often a file that grew while it was overwritten has its new part overwritten before it is
// taken to be still in use.
constexpr int kGrowthRounds = 2;

int writeAll(int fd, std::span<const std::byte> bytes, std::uint64_t offset)
{
    while (!bytes.empty()) {
        const ssize_t n = pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
        offset += static_cast<std::uint64_t>(n);
    }
    return 0;
}

} // namespace

FileOverwriter::FileOverwriter(ChunkProducer& producer, const DeviceSync& sync)
    : producer_(producer), sync_(sync)
{}

int FileOverwriter::overwrite(int fd, std::uint64_t from, std::uint64_t to,
                              std::span<const PassPattern> passes, const Progress& progress)
{
    from -= from % ChunkProducer::kAlignment;
    const std::uint64_t size = to - from;
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0)
        return errno;
    direct_ = (flags & O_DIRECT) != 0;
    std::uint64_t workDone = 0;
    for (const PassPattern& pass : passes) {
        producer_.begin(pass, from, to);
        std::uint64_t offset = from;
        for (auto chunk = producer_.next(); !chunk.empty(); chunk = producer_.next()) {
            if (const int error = writeChunk(fd, chunk, offset))
                return error;
            offset += chunk.size();
            if (offset < to)
                progress(workDone + offset - from);
        }
        // Direct writes skip the page cache but may still sit in the drive's cache: the sync
        // flushes that too, so the next pass cannot merge with this one on the way down.
        if (const int error = sync_.file(fd))
            return error;
        workDone += size;
        progress(workDone);
    }
    return 0;
}

int FileOverwriter::overwriteToEnd(int fd, std::uint64_t from, std::span<const PassPattern> passes,
                                   const RoundProgress& progress)
{
    std::uint64_t overwritten = from;
    for (int round = 0;; ++round) {
        struct stat status {};
        if (fstat(fd, &status) != 0)
            return errno;
        const auto size = static_cast<std::uint64_t>(status.st_size);
        if (size <= overwritten)
            return 0;
        if (round > kGrowthRounds)
            return kStillGrowing;
        const std::uint64_t workTotal = (size - overwritten) * passes.size();
        const Progress roundProgress = [&](std::uint64_t done) {
            if (round == 0 && progress)
                progress(done, workTotal);
        };
        if (const int error = overwrite(fd, overwritten, size, passes, roundProgress))
            return error;
        overwritten = size;
    }
}

int FileOverwriter::writePass(int fd, std::uint64_t size, const PassPattern& pass)
{
    producer_.begin(pass, 0, size);
    std::uint64_t offset = 0;
    for (auto chunk = producer_.next(); !chunk.empty(); chunk = producer_.next()) {
        if (const int error = writeAll(fd, chunk, offset))
            return error;
        offset += chunk.size();
    }
    return 0;
}

int FileOverwriter::writeChunk(int fd, std::span<const std::byte> chunk, std::uint64_t offset)
{
    if (!direct_)
        return writeAll(fd, chunk, offset);
    const std::size_t alignedLength = chunk.size() - chunk.size() % ChunkProducer::kAlignment;
    if (alignedLength > 0) {
        const int error = writeAll(fd, chunk.first(alignedLength), offset);
        if (error == EINVAL) {
            // The file system wants a coarser alignment than ours, or no direct I/O at all.
            if (const int fallback = setDirect(fd, false))
                return fallback;
            direct_ = false;
            return writeAll(fd, chunk, offset);
        }
        if (error)
            return error;
    }
    if (alignedLength == chunk.size())
        return 0;
    // The file's unaligned tail goes through the page cache; the pass's sync carries it down.
    if (const int error = setDirect(fd, false))
        return error;
    const int error = writeAll(fd, chunk.subspan(alignedLength), offset + alignedLength);
    const int restored = setDirect(fd, true);
    return error ? error : restored;
}

int FileOverwriter::setDirect(int fd, bool on)
{
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0)
        return errno;
    const int wanted = on ? (flags | O_DIRECT) : (flags & ~O_DIRECT);
    return fcntl(fd, F_SETFL, wanted) == 0 ? 0 : errno;
}

} // namespace tolvex::tolx
