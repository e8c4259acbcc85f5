#pragma once

#include <QString>
#include <QStringList>

namespace tolvex {

// Installed applications, found through the XDG desktop entries of the application folders.
// An application's "path" is the path of its desktop entry.
class Workspace {
public:
    // The entry whose Name is `name`; empty when there is none.
    static QString fullPathForApplication(const QString& name);
    // The entry of a bundle identifier: its own desktop-file id (as Flatpak names them) or one of
    // the ids known for it; empty when there is none.
    static QString absolutePathForAppBundleWithIdentifier(const QString& bundleID);
    // The Icon key of a desktop entry (a theme name or an absolute path); empty when it has none.
    static QString iconNameForApplication(const QString& desktopEntryPath);

    // The folders searched, in order of precedence: the user's data folder, the user's Flatpak
    // exports, each $XDG_DATA_DIRS folder, then the system's Flatpak exports and the desktop
    // entries snapd exports; each with "applications" appended.
    static QStringList applicationFolders();
    // Looks for the system's exports (/var/lib/flatpak, /var/lib/snapd) below `root` until reset
    // with an empty root, so tests see no system-wide installation.
    static void setSystemRootForTesting(const QString& root);
};

} // namespace tolvex
