#include "privacy/WorkspaceIcons.h"

#include "platform/Workspace.h"

#include <QFileIconProvider>
#include <QFileInfo>

namespace tolvex {

QIcon WorkspaceIcons::iconForFile(const QString& path)
{
    const QIcon application = applicationIcon(path);
    return application.isNull() ? QFileIconProvider().icon(QFileInfo(path)) : application;
}

QIcon WorkspaceIcons::applicationIcon(const QString& desktopEntryPath)
{
    // An entry's Icon key names a theme icon, or an image file by its absolute path.
    const QString iconName = Workspace::iconNameForApplication(desktopEntryPath);
    if (iconName.isEmpty())
        return {};
    const QFileInfo iconFile(iconName);
    if (iconFile.isAbsolute())
        return iconFile.exists() ? QIcon(iconName) : QIcon();
    return QIcon::fromTheme(iconName);
}

} // namespace tolvex
