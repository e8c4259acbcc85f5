#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tolvex::tolx {

// A path as it appears on one output line: each backslash doubled and each line feed written as
// a backslash and the letter n, every other byte as it is. The reader undoes exactly this.
std::string lineSafePath(std::string_view path);

// The program's messages. Progress goes to standard output, only when verbose, one message per
// line and each line in a single write, so that a reader of the pipe never sees a message cut
// or two messages merged: "removing <path>", "<N>%" and "done". Problems go to standard error.
// A reader that goes away only silences the progress; the work goes on.
class Reporter {
public:
    Reporter(int progressFd, int problemFd, bool verbose);

    // An item starts; it still exists.
    void removing(std::string_view path);
    // The current item's work so far; printed as a whole percentage when that number changes.
    void progress(std::uint64_t workDone, std::uint64_t workTotal);
    // The current item is destroyed; its name may go with the next batch.
    void done();
    void problem(std::string_view path, std::string_view reason);
    // The same, with the reason's system error, when error is not 0.
    void problem(std::string_view path, std::string_view reason, int error);

private:
    void emit(int fd, std::string line);

    const int progressFd_;
    const int problemFd_;
    bool verbose_;
    int lastPercent_ = -1;
};

} // namespace tolvex::tolx
