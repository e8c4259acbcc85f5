#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tolvex {

// The freedesktop base folders of the current user. Each honours its environment variable when it
// holds an absolute path, and otherwise lies under the real home folder (HomeFolder); without a
// home folder there is no answer.
class XdgFolders {
public:
    static std::optional<QString> dataHome();   // $XDG_DATA_HOME, ~/.local/share
    static std::optional<QString> configHome(); // $XDG_CONFIG_HOME, ~/.config
    static std::optional<QString> cacheHome();  // $XDG_CACHE_HOME, ~/.cache
    // $XDG_DATA_DIRS in order of precedence, else /usr/local/share and /usr/share.
    static QStringList dataDirs();
};

} // namespace tolvex
