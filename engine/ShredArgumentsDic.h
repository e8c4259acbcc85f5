#pragma once

#include <QStringList>
#include <optional>

namespace tolvex {

// The helper's argument lists, one per method that has at least one existing path: the method's
// flag followed by its paths in record order.
struct ShredArgumentsDic {
    std::optional<QStringList> params1;
    std::optional<QStringList> params7;
    std::optional<QStringList> params35;

    bool isEmpty() const { return !params1 && !params7 && !params35; }
};

} // namespace tolvex
