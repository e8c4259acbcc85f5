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

    // Reads a launch's own arguments (without the program name). Relative paths are made
    // absolute against `workingFolder`, since the running instance has its own.
    static LaunchRequest fromArguments(const QStringList& arguments, const QString& workingFolder);
    // The request of this process's own command line, as the application object left it (Qt's
    // own options taken out). --help, --version and an unknown option are answered here, and the
    // process ends.
    static LaunchRequest ofThisProcess(int argc, const char* const argv[]);

    QByteArray encode() const;
    static std::optional<LaunchRequest> decode(const QByteArray& bytes);

    friend bool operator==(const LaunchRequest&, const LaunchRequest&) = default;
};

} // namespace tolvex
