#pragma once

#include "tolx/PassPattern.h"

#include <cstdint>
#include <functional>
#include <span>

namespace tolvex::tolx {

class ChunkProducer;
class DeviceSync;

// Overwrites a file's bytes in place, pass after pass.
class FileOverwriter {
public:
    // Work done so far over all passes, in bytes of the region; a pass's last bytes count once
    // they are on the device.
    using Progress = std::function<void(std::uint64_t workDone)>;

    FileOverwriter(ChunkProducer& producer, const DeviceSync& sync);

    // Writes every pass over the bytes from..to of fd, holes included, and makes each pass
    // reach the device before the next starts. from is rounded down to the direct-I/O
    // alignment. fd may be open with O_DIRECT; where the file system refuses direct writes the
    // passes go through the page cache instead. Returns 0, or the errno of the call that failed.
    int overwrite(int fd, std::uint64_t from, std::uint64_t to, std::span<const PassPattern> passes,
                  const Progress& progress);
    // What another program writes while the passes run would be freed unread by the
    // truncation: overwrite() from `from` to the file's end, then again over whatever grew
    // meanwhile. Progress reports the first round only, against its total, so that it only
    // rises. Returns 0, kStillGrowing for a file that kept growing, or an errno.
    static constexpr int kStillGrowing = -1;
    using RoundProgress = std::function<void(std::uint64_t workDone, std::uint64_t workTotal)>;
    int overwriteToEnd(int fd, std::uint64_t from, std::span<const PassPattern> passes,
                       const RoundProgress& progress);
    // Writes one pass over the first size bytes of fd, which is open without O_DIRECT, and
    // leaves it to the caller to bring it to the device (with other files' passes).
    int writePass(int fd, std::uint64_t size, const PassPattern& pass);

private:
    int writeChunk(int fd, std::span<const std::byte> chunk, std::uint64_t offset);
    int setDirect(int fd, bool on);

    ChunkProducer& producer_;
    const DeviceSync& sync_;
    bool direct_ = false;
};

} // namespace tolvex::tolx
