#pragma once

#include "engine/SizeOperation.h"

#include <QStringList>

namespace tolvex {

// Measures a list's total bytes and file count and posts kSizeLoadDidFinish with a SizeLoadDic,
// unless it was cancelled. A cancelled walk still runs to its end; it only posts nothing.
class LoadOperation : public SizeOperation {
public:
    struct Measure {
        quint64 size = 0;
        quint64 scanTotalFilesCount = 0;
    };

    LoadOperation(const QStringList& paths, qint64 operIDint);

    void main() override;

    // Every path's own entry size, plus the contents of each folder; a folder's files count,
    // anything else (a missing path too) counts as one file.
    static Measure multipleItemsSize(const QStringList& paths);
    // The non-folder items below `folder`. A folder that cannot be listed is logged and skipped;
    // the walk goes on with the rest.
    static Measure folderSize(const QString& folder);

private:
    const QStringList loadfPaths_;
};

} // namespace tolvex
