#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <filesystem>

namespace tolvex {

// A file name on Linux is a string of bytes, not text. Paths travel through Qt as QString, so
// every byte that is not part of valid UTF-8 is carried as one lone surrogate U+DC80..U+DCFF
// (one per byte, as Python's surrogateescape does) and turned back into the same byte on the way
// out. Paths must reach the file system through these functions: Qt's own conversions replace
// such bytes, and a replaced name can be another file's name.

QString decodeNativePath(QByteArrayView bytes);
QByteArray encodeNativePath(const QString& path);

inline QString fromNativePath(const std::filesystem::path& path)
{
    return decodeNativePath(QByteArrayView(path.native().data(), qsizetype(path.native().size())));
}

inline std::filesystem::path toNativePath(const QString& path)
{
    return std::filesystem::path(encodeNativePath(path).toStdString());
}

// The path for a person to read: each byte that is not text shows as U+FFFD, as the desktop's
// file managers show it.
QString readablePath(const QString& path);

} // namespace tolvex
