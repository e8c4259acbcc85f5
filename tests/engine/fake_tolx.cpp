// A scripted stand-in for the shredding helper. Options come as arguments, paths with -z on
// standard input, each ended by a NUL byte (an unended last one is no path). It follows the
// script named by $TOLVEX_FAKE_TOLX_SCRIPT, one command a line: "say TEXT" (one line of output,
// alone), "remove PATH" (a link as the link), "destroy" (each given path that exists, between
// "removing PATH", backslashes doubled and line feeds as \n, and "done"), "fail-if-given PATH"
// (status 1), "hang" (until killed), "exit N". $TOLVEX_FAKE_TOLX_LOG gets one line per launch, in
// one write so launches side by side do not mix: its options but -z and its paths, tab-separated.
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

// One write, so that a line is never split.
void writeAll(int fd, const std::string& text)
{
    [[maybe_unused]] const ssize_t written = write(fd, text.data(), text.size());
}

void destroy(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        std::error_code error;
        if (!fs::exists(fs::symlink_status(path, error)))
            continue;
        std::string escaped;
        for (const char c : path)
            escaped += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : std::string(1, c);
        writeAll(STDOUT_FILENO, "removing " + escaped + "\n");
        fs::remove_all(path, error);
        writeAll(STDOUT_FILENO, "done\n");
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> fields(argv + 1, argv + argc);
    fields.erase(std::remove(fields.begin(), fields.end(), "-z"), fields.end());
    const std::string input(std::istreambuf_iterator<char>(std::cin), {});
    std::vector<std::string> paths;
    for (std::size_t start = 0, end; (end = input.find('\0', start)) != std::string::npos;
         start = end + 1)
        paths.push_back(input.substr(start, end - start));
    if (const char* log = std::getenv("TOLVEX_FAKE_TOLX_LOG")) {
        std::string line;
        for (const auto* list : {&fields, &paths})
            for (const std::string& field : *list)
                line += (line.empty() ? "" : "\t") + field;
        const int fd = open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        writeAll(fd, line + "\n");
        close(fd);
    }
    const char* scriptPath = std::getenv("TOLVEX_FAKE_TOLX_SCRIPT");
    std::ifstream script(scriptPath ? scriptPath : "");
    for (std::string line; std::getline(script, line);) {
        const auto space = line.find(' ');
        const std::string command = line.substr(0, space);
        const std::string argument = space == std::string::npos ? "" : line.substr(space + 1);
        std::error_code error;
        if (command == "say")
            writeAll(STDOUT_FILENO, argument + "\n");
        else if (command == "remove")
            fs::remove_all(argument, error);
        else if (command == "destroy")
            destroy(paths);
        else if (command == "fail-if-given" && std::count(paths.begin(), paths.end(), argument))
            return 1;
        else if (command == "hang") {
            for (;;)
                pause();
        } else if (command == "exit")
            return std::stoi(argument);
    }
    return 0;
}
