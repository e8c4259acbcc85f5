// A scripted stand-in for the shredding helper, for tests of the runner protocol. It reads the
// script named by $TOLVEX_FAKE_TOLX_SCRIPT, one command a line:
//   say TEXT       writes TEXT and a line feed to standard output, alone
//   remove PATH    removes PATH (a link as the link)
//   hang           waits until it is killed
//   exit N         ends with status N
// Without a script it removes every path argument that exists, between "removing PATH" and
// "done", and ends with 0. When $TOLVEX_FAKE_TOLX_LOG is set, each launch first appends its
// arguments to that file, tab-separated, as one line.
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
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
        say("removing " + path);
        std::error_code error;
        fs::remove_all(path, error);
        say("done");
    }
}

// Runs of different methods launch side by side, and a line of thousands of paths is larger than
// a stream buffer: the line goes out in one write under an exclusive lock, or lines interleave.
void logLaunch(int argc, char** argv)
{
    const char* log = std::getenv("TOLVEX_FAKE_TOLX_LOG");
    if (!log) {
        return;
    }
    std::string line;
    for (int i = 1; i < argc; ++i) {
        line += (i > 1 ? "\t" : "") + std::string(argv[i]);
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

} // namespace

int main(int argc, char** argv)
{
    logLaunch(argc, argv);
    const std::vector<std::string> paths(argv + std::min(argc, 2), argv + argc);
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
