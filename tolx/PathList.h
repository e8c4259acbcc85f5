#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tolvex::tolx {

// Paths handed over on a descriptor as raw bytes, each ended by one NUL byte.
struct PathList {
    std::vector<std::string> paths;
    // Bytes after the last NUL: the writer stopped mid-path. A cut-off path can name another
    // item, so it is only ever reported.
    std::optional<std::string> cutOff;
    // The errno of a failed read, or 0.
    int error = 0;

    // Reads fd to its end.
    static PathList read(int fd);
};

} // namespace tolvex::tolx
