#pragma once

#include <QMetaType>
#include <QtGlobal>

namespace tolvex {

// Posted with kSizeLoadDidFinish when a list's measurement has finished and was not cancelled.
inline constexpr char kSizeLoadDidFinish[] = "kSizeLoadDidFinish";

struct SizeLoadDic {
    quint64 size = 0;                // total bytes of the list
    qint64 scanCount = 0;            // the list id 1, 7 or 35 (not a count)
    quint64 scanTotalFilesCount = 0; // the number of files in the list
};

} // namespace tolvex

Q_DECLARE_METATYPE(tolvex::SizeLoadDic)
