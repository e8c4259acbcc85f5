#pragma once

#include <QFile>
#include <QString>
#include <filesystem>

namespace tolvex {

// Paths cross between Qt and the standard library in the file system's own encoding, so that
// names that are not valid text still reach the same file.
inline std::filesystem::path toNativePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

inline QString fromNativePath(const std::filesystem::path& path)
{
    return QFile::decodeName(path.native().c_str());
}

} // namespace tolvex
