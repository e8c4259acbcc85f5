#include "tolx/PassPattern.h"

#include "tolx/RandomStream.h"

#include <algorithm>
#include <cstring>

namespace tolvex::tolx {

PassPattern PassPattern::random()
{
    return PassPattern({}, 0);
}

PassPattern PassPattern::repeated(std::uint8_t byte)
{
    return PassPattern({byte, byte, byte}, 1);
}

PassPattern PassPattern::repeated(std::uint8_t first, std::uint8_t second, std::uint8_t third)
{
    return PassPattern({first, second, third}, 3);
}

void PassPattern::fill(std::span<std::byte> out, std::uint64_t offset, RandomStream& random) const
{
    if (isRandom()) {
        random.fill(out);
        return;
    }
    if (out.empty())
        return;
    // Lay down one period in the phase the file offset asks for, then double what is written.
    const std::size_t phase = offset % period_;
    const std::size_t seed = std::min(period_, out.size());
    for (std::size_t i = 0; i < seed; ++i)
        out[i] = static_cast<std::byte>(bytes_[(phase + i) % period_]);
    // Each copy starts at a multiple of the period, so the phase carries over.
    for (std::size_t done = seed; done < out.size();) {
        const std::size_t copy = std::min(done, out.size() - done);
        std::memcpy(out.data() + done, out.data(), copy);
        done += copy;
    }
}

} // namespace tolvex::tolx
