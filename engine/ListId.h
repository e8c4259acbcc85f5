#pragma once

#include <QtGlobal>
#include <array>
#include <optional>

namespace tolvex {

// A shred list is named by its pass count everywhere: the zone tag, "passIndx", the size
// operation's id and the argument key's suffix.
inline constexpr std::array<qint64, 3> kListIds{1, 7, 35};

// The position of list `id` in kListIds (0, 1, 2), or nothing for another id.
inline std::optional<std::size_t> listIndex(qint64 id)
{
    for (std::size_t i = 0; i < kListIds.size(); ++i) {
        if (kListIds[i] == id) {
            return i;
        }
    }
    return std::nullopt;
}

inline bool isListId(qint64 id)
{
    return listIndex(id).has_value();
}

} // namespace tolvex
