#include "tolx/PathList.h"

#include <array>
#include <cerrno>
#include <unistd.h>

namespace tolvex::tolx {

PathList PathList::read(int fd)
{
    PathList list;
    std::string pending;
    std::array<char, 65536> buffer{};
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            list.error = errno;
        if (n <= 0)
            break;
        pending.append(buffer.data(), static_cast<std::size_t>(n));
        std::size_t start = 0;
        for (std::size_t end; (end = pending.find('\0', start)) != std::string::npos;
             start = end + 1)
            list.paths.emplace_back(pending, start, end - start);
        pending.erase(0, start);
    }
    if (!pending.empty())
        list.cutOff = std::move(pending);
    return list;
}

} // namespace tolvex::tolx
