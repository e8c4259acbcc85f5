#pragma once

#include <QtGlobal>
#include <optional>

namespace tolvex {

// Lifetime totals of everything shredded, and the delta one run adds to them. An absent field
// counts as 0.
struct TotalShredInfoDic {
    std::optional<quint64> shredDataSize;   // bytes
    std::optional<quint64> shredFilesCount; // files
};

} // namespace tolvex
