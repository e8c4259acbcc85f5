#pragma once

#include <QDataStream>
#include <QString>

// The layout of a keyed archive, shared by its writer and its reader.
namespace tolvex::KeyedArchiveFormat {

constexpr quint32 kMagic = 0x544b4152; // "TKAR"
constexpr quint16 kFormatVersion = 1;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_4;
// More entries than this means a damaged archive, not a real one.
constexpr qint32 kMaximumEntries = 1 << 16;

// The keys of an archived widget object.
inline const QString kClassKey = QStringLiteral("class");
inline const QString kArchiveKey = QStringLiteral("archive");

} // namespace tolvex::KeyedArchiveFormat
