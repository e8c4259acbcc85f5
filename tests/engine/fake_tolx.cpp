// A scripted stand-in for the shredding helper, for tests of the runner protocol. It takes its
// options as arguments and its paths with -z on standard input, each ended by a NUL byte (an
// unended last one is no path), and follows the script named by $TOLVEX_FAKE_TOLX_SCRIPT, one
// command a line:
//   say TEXT            writes TEXT and a line feed to standard output, alone
//   remove PATH         removes PATH (a link as the link)
//   destroy             removes every given path that exists, between "removing PATH" and "done"
//   fail-if-given PATH  ends with status 1 when PATH is among the given paths
//   hang                waits until it is killed
//   exit N              ends with status N
// Without a script it destroys and ends with 0. A path in "removing PATH" has each backslash
// doubled and each line feed written as backslash and n. When $TOLVEX_FAKE_TOLX_LOG is set, each
// launch first appends its options (but -z) and its paths to that file, tab-separated, as one
// line, in one write, so that launches side by side do not mix their lines.
#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

void say(const std::string& text)
{
    const std::string line = text + "\n";
    [[maybe_unused]] const ssize_t written = write(STDOUT_FILENO, line.data(), line.size());
}

void destroy(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        std::error_code error;
        if (!fs::exists(fs::symlink_status(path, error))) {
            continue;
        }
        std::string escaped;
        for (const char c : path) {
            escaped += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : std::string(1, c);
        }
        say("removing " + escaped);
        fs::remove_all(path, error);
        say("done");
    }
}

void logLaunch(const std::vector<std::string>& fields)
{
    const char* log = std::getenv("TOLVEX_FAKE_TOLX_LOG");
    const int fd = log ? open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600) : -1;
    if (fd < 0) {
        return;
    }
    std::string line;
    for (const std::string& field : fields) {
        line += (line.empty() ? "" : "\t") + field;
    }
    line += "\n";
    [[maybe_unused]] const ssize_t written = write(fd, line.data(), line.size());
    close(fd);
}

std::vector<std::string> pathsFromInput()
{
    const std::string input(std::istreambuf_iterator<char>(std::cin), {});
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
    std::vector<std::string> fields(argv + 1, argv + argc);
    fields.erase(std::remove(fields.begin(), fields.end(), "-z"), fields.end());
    const std::vector<std::string> paths = pathsFromInput();
    fields.insert(fields.end(), paths.begin(), paths.end());
    logLaunch(fields);
    const char* scriptPath = std::getenv("TOLVEX_FAKE_TOLX_SCRIPT");
    std::ifstream script(scriptPath ? scriptPath : "");
    if (!scriptPath) {
        destroy(paths);
    }
    for (std::string line; std::getline(script, line);) {
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
        } else if (command == "fail-if-given" &&
                   std::find(paths.begin(), paths.end(), argument) != paths.end()) {
            return 1;
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
