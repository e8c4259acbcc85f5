#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tolvex {

// A path that reaches the application from outside (a drop, the add panel, the command line,
// the single-instance channel, the Trash) names what will be destroyed, so it is cleaned and
// vetted before any rule sees it, and only the cleaned form is kept. Refused: a path holding a
// NUL byte (the helper reads NUL-separated paths, so it would become several), a relative path
// without a working folder to take it from, and the real home folder or a folder above it.
// Cleaning is lexical and byte-exact: no "//", "/./", "/../" or trailing "/".
class IncomingPath {
public:
    // `path` cleaned, or nothing when it is refused; `why` then says why, for a person to read.
    // A relative path is taken from `workingFolder`; without one it is refused, never re-based.
    static std::optional<QString> vetted(const QString& path, QString* why = nullptr,
                                         const std::optional<QString>& workingFolder = {});
    // The paths that pass, cleaned, in order.
    static QStringList vettedPaths(const QStringList& paths);
};

} // namespace tolvex
