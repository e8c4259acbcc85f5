#pragma once

#include <QIcon>
#include <QString>

namespace tolvex {

class WorkspaceIcons {
public:
    // The icon a file manager shows for `path`; for an application's desktop entry, the
    // application's own icon.
    static QIcon iconForFile(const QString& path);
};

} // namespace tolvex
