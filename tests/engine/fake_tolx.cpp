// A scripted stand-in for the shredding helper, for tests of the runner protocol. It reads the
// script named by $TOLVEX_FAKE_TOLX_SCRIPT, one command a line:
//   say TEXT            writes TEXT and a line feed to standard output, alone
//   remove PATH         removes PATH (a link as the link)
//   destroy             removes every given path that exists, between "removing PATH" and "done"
//   fail-if-given PATH  ends with status 1 when PATH is among the given paths
//   hang                waits until it is killed
//   exit N              ends with status N
// Without a script it destroys and ends with 0. The paths are given as arguments, or with -z on
// standard input, each ended by a NUL byte. A path in "removing PATH" has each backslash doubled
// and each line feed written as backslash and n. When $TOLVEX_FAKE_TOLX_LOG is set, each launch
// first appends its options (but -z) and then its paths to that file, tab-separated, as one line.
#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

void say(const std::string& text)
{
    const std::string line = text + "\n";
    [[maybe_unused]] const ssize_t written = write(STDOUT_FILENO, line.data(), line.size());
}

std::string escaped(const std::string& path)
{
    std::string line;
    for (const char c : path) {
        line += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : std::string(1, c);
    }
    return line;
}

bool exists(const fs::path& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

void destroy(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        if (!exists(path)) {
            continue;
        }
        say("removing " + escaped(path));
        std::error_code error;
        fs::remove_all(path, error);
        say("done");
    }
}

// Runs of different methods launch side by side, and a line of thousands of paths is larger than
// a stream buffer: the line goes out in one write under an exclusive lock, or lines interleave.
void logLaunch(const std::vector<std::string>& options, const std::vector<std::string>& paths)
{
    const char* log = std::getenv("TOLVEX_FAKE_TOLX_LOG");
    if (!log) {
        return;
    }
    std::string line;
    for (const std::string& field : options) {
        line += (line.empty() ? "" : "\t") + field;
    }
    for (const std::string& field : paths) {
        line += "\t" + field;
    }
    line += "\n";
    const int fd = open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) {
        return;
    }
    flock(fd, LOCK_EX);
    for (std::size_t sent = 0; sent < line.size();) {
        const ssize_t written = write(fd, line.data() + sent, line.size() - sent);
        if (written <= 0) {
            break;
        }
        sent += static_cast<std::size_t>(written);
    }
    close(fd);
}

// The records of standard input, each ended by a NUL byte; an unended last one is no record.
std::vector<std::string> pathsFromInput()
{
    std::string input((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    std::vector<std::string> paths;
    for (std::size_t start = 0, end; (end = input.find('\0', start)) != std::string::npos;
         start = end + 1) {
        paths.push_back(input.substr(start, end - start));
    }
    return paths;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> options;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        (argument.starts_with('-') && paths.empty() ? options : paths).push_back(argument);
    }
    if (const auto z = std::find(options.begin(), options.end(), "-z"); z != options.end()) {
        if (!paths.empty()) {
            return 64;
        }
        options.erase(z);
        paths = pathsFromInput();
    }
    logLaunch(options, paths);
    const char* scriptPath = std::getenv("TOLVEX_FAKE_TOLX_SCRIPT");
    if (!scriptPath) {
        destroy(paths);
        return 0;
    }
    std::ifstream script(scriptPath);
    std::string line;
    while (std::getline(script, line)) {
        const auto space = line.find(' ');
        const std::string command = line.substr(0, space);
        const std::string argument = space == std::string::npos ? "" : line.substr(space + 1);
        if (command == "say") {
            say(argument);
        } else if (command == "remove") {
            std::error_code error;
            fs::remove_all(argument, error);
        } else if (command == "destroy") {
            destroy(paths);
        } else if (command == "fail-if-given") {
            if (std::find(paths.begin(), paths.end(), argument) != paths.end()) {
                return 1;
            }
        } else if (command == "hang") {
            for (;;) {
                pause();
            }
        } else if (command == "exit") {
            return std::stoi(argument);
        }
    }
    return 0;
}
