#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvex::tolx {

class RandomStream;

// What one overwrite pass writes: either the random stream, or a pattern of one or three bytes
// repeated from the file's first byte.
class PassPattern {
public:
    static PassPattern random();
    static PassPattern repeated(std::uint8_t byte);
    static PassPattern repeated(std::uint8_t first, std::uint8_t second, std::uint8_t third);

    bool isRandom() const { return period_ == 0; }
    // The pattern's bytes: empty for a random pass.
    std::span<const std::uint8_t> bytes() const { return std::span(bytes_.data(), period_); }
    // Fills out with the bytes this pass writes at the file region that starts at offset.
    void fill(std::span<std::byte> out, std::uint64_t offset, RandomStream& random) const;

    bool operator==(const PassPattern&) const = default;

private:
    PassPattern(std::array<std::uint8_t, 3> bytes, std::size_t period)
        : bytes_(bytes), period_(period)
    {}

    std::array<std::uint8_t, 3> bytes_;
    std::size_t period_;
};

} // namespace tolvex::tolx
