#include "tolx/Reporter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace tolvex::tolx {

namespace {

constexpr int kWhole = 100;

int wholePercent(std::uint64_t workDone, std::uint64_t workTotal)
{
    if (workTotal == 0 || workDone >= workTotal)
        return kWhole;
    // Only finished work may read 100.
    const auto percent = static_cast<int>(static_cast<long double>(workDone) * kWhole /
                                          static_cast<long double>(workTotal));
    return std::min(percent, kWhole - 1);
}

} // namespace

std::string lineSafePath(std::string_view path)
{
    std::string escaped;
    escaped.reserve(path.size() + path.size() / 8);
    for (const char c : path) {
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '\n')
            escaped += "\\n";
        else
            escaped += c;
    }
    return escaped;
}

Reporter::Reporter(int progressFd, int problemFd, bool verbose)
    : progressFd_(progressFd), problemFd_(problemFd), verbose_(verbose)
{}

void Reporter::removing(std::string_view path)
{
    lastPercent_ = -1;
    if (verbose_)
        emit(progressFd_, "removing " + lineSafePath(path));
}

void Reporter::progress(std::uint64_t workDone, std::uint64_t workTotal)
{
    const int percent = wholePercent(workDone, workTotal);
    if (percent == lastPercent_)
        return;
    lastPercent_ = percent;
    if (verbose_)
        emit(progressFd_, std::to_string(percent) + "%");
}

void Reporter::done()
{
    if (verbose_)
        emit(progressFd_, "done");
}

void Reporter::problem(std::string_view path, std::string_view reason)
{
    emit(problemFd_, "tolx: " + lineSafePath(path) + ": " + std::string(reason));
}

void Reporter::problem(std::string_view path, std::string_view reason, int error)
{
    if (error == 0)
        problem(path, reason);
    else
        problem(path, std::string(reason) + " (" + std::strerror(error) + ")");
}

void Reporter::emit(int fd, std::string line)
{
    line += '\n';
    // One write per message; a pipe only splits a write when a signal interrupts it.
    std::string_view left = line;
    while (!left.empty()) {
        const ssize_t n = write(fd, left.data(), left.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EPIPE && fd == progressFd_)
            verbose_ = false;
        if (n <= 0)
            return;
        left.remove_prefix(static_cast<std::size_t>(n));
    }
}

} // namespace tolvex::tolx
