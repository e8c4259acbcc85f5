#include "tolx/PassPlan.h"

#include "tolx/RandomStream.h"

#include <algorithm>
#include <utility>

namespace tolvex::tolx {

namespace {

constexpr std::size_t kGutmannRandomRun = 4;

// The 27 fixed patterns of the 35-pass method, aimed at the encodings of old magnetic media.
std::vector<PassPattern> gutmannFixedPatterns()
{
    std::vector<PassPattern> patterns = {
        PassPattern::repeated(0x55),
        PassPattern::repeated(0xAA),
        PassPattern::repeated(0x92, 0x49, 0x24),
        PassPattern::repeated(0x49, 0x24, 0x92),
        PassPattern::repeated(0x24, 0x92, 0x49),
    };
    for (int nibble = 0x0; nibble <= 0xF; ++nibble)
        patterns.push_back(PassPattern::repeated(static_cast<std::uint8_t>(nibble * 0x11)));
    patterns.push_back(PassPattern::repeated(0x92, 0x49, 0x24));
    patterns.push_back(PassPattern::repeated(0x49, 0x24, 0x92));
    patterns.push_back(PassPattern::repeated(0x24, 0x92, 0x49));
    patterns.push_back(PassPattern::repeated(0x6D, 0xB6, 0xDB));
    patterns.push_back(PassPattern::repeated(0xB6, 0xDB, 0x6D));
    patterns.push_back(PassPattern::repeated(0xDB, 0x6D, 0xB6));
    return patterns;
}

void shuffle(std::vector<PassPattern>& passes, RandomStream& random)
{
    for (std::size_t i = passes.size() - 1; i > 0; --i)
        std::swap(passes[i], passes[random.below(static_cast<std::uint32_t>(i + 1))]);
}

// DoD 5220.22-M ECE: a byte, its complement, random, two more bytes, the last one's
// complement, random.
std::vector<PassPattern> sevenPassPlan(RandomStream& random)
{
    const std::uint8_t first = random.byte();
    const std::uint8_t second = random.byte();
    const std::uint8_t third = random.byte();
    return {
        PassPattern::repeated(first), PassPattern::repeated(static_cast<std::uint8_t>(~first)),
        PassPattern::random(),        PassPattern::repeated(second),
        PassPattern::repeated(third), PassPattern::repeated(static_cast<std::uint8_t>(~third)),
        PassPattern::random(),
    };
}

std::vector<PassPattern> thirtyFivePassPlan(RandomStream& random)
{
    std::vector<PassPattern> fixed = gutmannFixedPatterns();
    shuffle(fixed, random);
    std::vector<PassPattern> passes(kGutmannRandomRun, PassPattern::random());
    passes.insert(passes.end(), fixed.begin(), fixed.end());
    passes.insert(passes.end(), kGutmannRandomRun, PassPattern::random());
    return passes;
}

} // namespace

std::vector<PassPattern> passPlanFor(ShredMethod method, RandomStream& random)
{
    switch (method) {
    case ShredMethod::OnePass:
        return {PassPattern::random()};
    case ShredMethod::SevenPass:
        return sevenPassPlan(random);
    case ShredMethod::ThirtyFivePass:
        return thirtyFivePassPlan(random);
    }
    return {};
}

} // namespace tolvex::tolx
