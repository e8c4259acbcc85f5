#pragma once

#include <QByteArray>
#include <QStringList>
#include <optional>

namespace tolvex {

// What one launch of `tolvex` asks of the application: the desktop file starts it with files to
// open ("Open With"), with files for the "Erase with Tolvex" action, or with nothing (the user
// launched it again, which brings the window to the front).
struct LaunchRequest {
    enum class Kind : quint8 { Reopen = 0, OpenFiles = 1, EraseFiles = 2 };

    Kind kind = Kind::Reopen;
    QStringList paths;

    // Reads a launch's own arguments (without the program name), each vetted by IncomingPath:
    // relative paths are made absolute against `workingFolder`, since the running instance has
    // its own, and refused without one. `refusals` gets a line for each path refused.
    static LaunchRequest fromArguments(const QStringList& arguments,
                                       const std::optional<QString>& workingFolder,
                                       QStringList* refusals = nullptr);
    // The request of this process's own command line, as the application object left it (Qt's
    // own options taken out). --help, --version and an unknown option are answered here, and the
    // process ends; each refused path is told on standard error.
    static LaunchRequest ofThisProcess(int argc, const char* const argv[]);

    QByteArray encode() const;
    static std::optional<LaunchRequest> decode(const QByteArray& bytes);

    friend bool operator==(const LaunchRequest&, const LaunchRequest&) = default;
};

} // namespace tolvex
