#pragma once

#include "tolx/PassPattern.h"

#include <vector>

namespace tolvex::tolx {

class RandomStream;

enum class ShredMethod { OnePass, SevenPass, ThirtyFivePass };

// The passes one file receives under a method. The random choices (the bytes of the 7-pass
// method, the order of the 35-pass method's fixed patterns) are drawn again for every file.
std::vector<PassPattern> passPlanFor(ShredMethod method, RandomStream& random);

} // namespace tolvex::tolx
