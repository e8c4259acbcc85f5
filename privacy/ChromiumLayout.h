#pragma once

#include "privacy/BrowserFolders.h"
#include "privacy/PrivInfoDic.h"

#include <QList>
#include <QStringList>

namespace tolvex {

// Where a browser of the Chromium family keeps its profile and what of it the privacy cleaner
// counts and removes. Chrome, Opera, Vivaldi and Brave share the layout and differ in the
// details held here. Each build of the browser (regular, Snap, Flatpak) that has the profile
// folder adds its own rows; without any, the regular package's rows stand for the browser.
struct ChromiumLayout {
    QString profile;               // the profile folder, under Application Support
    QStringList historyCompanions; // the suffixes of History's companions, in removal order
    bool keepsCurrentSession = false;
    QString cache{};               // the cache folder under Caches; empty when none is cleaned
    QString safeBrowsingCookies{}; // under Application Support; empty when the browser has none

    QList<PrivFileDic> rows(const QList<BrowserFolders>& places) const;
    CookiesDic cookies(const QList<BrowserFolders>& places) const;

    static const ChromiumLayout kGoogleChrome;
    static const ChromiumLayout kOpera;
    static const ChromiumLayout kVivaldi;
    static const ChromiumLayout kBraveBrowser;

private:
    QList<BrowserFolders> placesWithProfile(const QList<BrowserFolders>& places) const;
    QList<PrivFileDic> rows(const BrowserFolders& place) const;
};

} // namespace tolvex
