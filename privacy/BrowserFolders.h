#pragma once

#include "privacy/Browsers.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tolvex {

// One place where a build of a browser keeps its data: the regular package's base folders of the
// user, or the folders a Snap or a Flatpak build gets inside its own folder of the home folder.
struct BrowserFolders {
    QString home;               // the home folder as the build sees it
    QString library;            // its $XDG_DATA_HOME
    QString applicationSupport; // its $XDG_CONFIG_HOME: the Chromium family's profiles
    QString caches;             // its $XDG_CACHE_HOME
    QStringList trusted{};      // the folders below which no link may stand in for a folder

    // Every place where a build of `browser` may keep its data, the regular package's first;
    // none when the user has no home folder.
    static QList<BrowserFolders> forBrowser(const Browser& browser);

    // Whether `path` lies below one of the trusted folders and no item between that folder and
    // `path`, `path` included, is a symbolic link: a link standing in for a browser's folder
    // would lead the clean-up to whatever it points at.
    bool leadsThroughNoLink(const QString& path) const;
};

} // namespace tolvex
