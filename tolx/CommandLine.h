#pragma once

#include "tolx/PassPlan.h"

#include <string>
#include <vector>

namespace tolvex::tolx {

struct Options {
    ShredMethod method = ShredMethod::ThirtyFivePass;
    bool force = false;
    bool recursive = false;
    bool verbose = false;
    // The paths come on standard input, each ended by a NUL byte, instead of in paths.
    bool pathsFromInput = false;
    std::vector<std::string> paths;
};

// What the command line asks for.
struct Invocation {
    enum class Action { Shred, Help, Version, UsageError };

    Action action = Action::UsageError;
    Options options;
    // For a usage error, what was wrong.
    std::string error;
};

class CommandLine {
public:
    static constexpr int kUsageErrorStatus = 64;

    // Option letters may come in any order and combination, before or between the paths; "--"
    // ends the options. With -z no path may follow.
    static Invocation parse(int argc, char* argv[]);
    // Why the paths cannot be used, or empty. An empty path would name the working folder.
    static std::string pathsError(const std::vector<std::string>& paths);
    static std::string usage();
    static std::string help();
};

} // namespace tolvex::tolx
