#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace tolvex {

// One shred-list entry on its way to the editor or to a shred run. Without a fileName it is a
// removal record, which the removal methods accept as well. passIndx names the list (1, 7 or
// 35); a shred run counts 0 or a missing value as 1-pass.
struct ShredEntryDic {
    QString filePath;
    std::optional<QString> fileName;
    std::optional<qint64> passIndx;

    bool operator==(const ShredEntryDic&) const = default;
};

using ShredEntryDics = QList<ShredEntryDic>;

} // namespace tolvex
