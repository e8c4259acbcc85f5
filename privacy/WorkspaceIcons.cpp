#include "privacy/WorkspaceIcons.h"

#include "platform/Workspace.h"

#include <QFileIconProvider>
#include <QFileInfo>

namespace tolvex {

QIcon WorkspaceIcons::iconForFile(const QString& path)
{
    // An entry's Icon key names a theme icon, or an image file by its absolute path.
    const QString iconName = Workspace::iconNameForApplication(path);
    if (!iconName.isEmpty()) {
        const QFileInfo iconFile(iconName);
        if (iconFile.isAbsolute()) {
            if (iconFile.exists())
                return QIcon(iconName);
        } else if (const QIcon themed = QIcon::fromTheme(iconName); !themed.isNull()) {
            return themed;
        }
    }
    return QFileIconProvider().icon(QFileInfo(path));
}

} // namespace tolvex
