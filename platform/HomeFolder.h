#pragma once

#include <QString>
#include <optional>

namespace tolvex {

// The user's real home folder: the home directory of the current user's passwd entry, whatever
// $HOME says. Empty when the user has no passwd entry.
class HomeFolder {
public:
    static std::optional<QString> realHomeFolder();

    // Makes realHomeFolder() answer `folder` (std::nullopt: a user without a passwd entry) until
    // resetForTesting(). Tests use it to keep away from the real home folder.
    static void setForTesting(std::optional<QString> folder);
    static void resetForTesting();
};

} // namespace tolvex
