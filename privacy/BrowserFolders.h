#pragma once

#include <QString>
#include <optional>

namespace tolvex {

// The roots under which the browsers keep their data for the current user.
struct BrowserFolders {
    QString home;               // the real home folder, where Firefox keeps its profiles
    QString library;            // $XDG_DATA_HOME
    QString applicationSupport; // $XDG_CONFIG_HOME: the Chromium family's profiles
    QString caches;             // $XDG_CACHE_HOME

    // std::nullopt when the user has no home folder to find them under.
    static std::optional<BrowserFolders> forCurrentUser();
};

} // namespace tolvex
