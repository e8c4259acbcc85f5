#pragma once

#include <QIcon>
#include <QString>

namespace tolvex {

class WorkspaceIcons {
public:
    // The icon a file manager shows for `path`; for an application's desktop entry, the
    // application's own icon.
    static QIcon iconForFile(const QString& path);
    // The icon an application's desktop entry names, through the icon theme; null when the entry
    // names none or the theme does not have it.
    static QIcon applicationIcon(const QString& desktopEntryPath);
};

} // namespace tolvex
