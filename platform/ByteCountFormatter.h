#pragma once

#include <QLocale>
#include <QString>

namespace tolvex {

// Byte counts as people read file sizes: decimal units (1 KB = 1000 bytes), "Zero KB", "1 byte",
// "N bytes" below 1000, whole KB, one decimal for MB, two decimals for GB and above, trailing
// zeros dropped, the locale's decimal separator ("1.2 MB", "1,2 MB"). A count that rounds to 1000
// of a unit is shown in the next unit ("1 MB", not "1000 KB").
class ByteCountFormatter {
public:
    static QString stringFromByteCount(qint64 bytes, const QLocale& locale = QLocale::system());
};

} // namespace tolvex
