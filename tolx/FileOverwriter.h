#pragma once

#include "tolx/PassPattern.h"

#include <cstdint>
#include <functional>
#include <span>

namespace tolvex::tolx {

class ChunkProducer;

// Overwrites a file's bytes in place, pass after pass.
class FileOverwriter {
public:
    // Work done so far over all passes, in bytes of the region; a pass's last bytes count once
    // they are on the device.
    using Progress = std::function<void(std::uint64_t workDone)>;

    explicit FileOverwriter(ChunkProducer& producer);

    // Writes every pass over the bytes from..to of fd, holes included, and makes each pass
    // reach the device before the next starts. from is rounded down to the direct-I/O
    // alignment. fd may be open with O_DIRECT; where the file system refuses direct writes the
    // passes go through the page cache instead. Returns 0, or the errno of the call that failed.
    int overwrite(int fd, std::uint64_t from, std::uint64_t to, std::span<const PassPattern> passes,
                  const Progress& progress);

private:
    int writeChunk(int fd, std::span<const std::byte> chunk, std::uint64_t offset);
    int setDirect(int fd, bool on);

    ChunkProducer& producer_;
    bool direct_ = false;
};

} // namespace tolvex::tolx
