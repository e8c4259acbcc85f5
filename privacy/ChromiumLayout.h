#pragma once

#include "privacy/BrowserFolders.h"
#include "privacy/PrivInfoDic.h"

#include <QList>
#include <QStringList>

namespace tolvex {

// Where a browser of the Chromium family keeps its profile and what of it the privacy cleaner
// counts and removes. Chrome, Opera, Vivaldi and Brave share the layout and differ in the
// details held here.
struct ChromiumLayout {
    enum class CacheStore {
        None,
        Folder,        // a cache folder, emptied
        CacheDatabase, // a URL cache database, removed with its companions
    };

    QString profile;               // the profile folder, under Application Support
    QStringList historyCompanions; // the suffixes of History's companions, in removal order
    bool keepsCurrentSession = false;
    CacheStore cacheStore = CacheStore::None;
    QString cache{};               // under Caches
    QString safeBrowsingCookies{}; // under Application Support; empty when the browser has none

    QList<PrivFileDic> rows(const BrowserFolders& folders) const;
    CookiesDic cookies(const BrowserFolders& folders) const;

    static const ChromiumLayout kGoogleChrome;
    static const ChromiumLayout kOpera;
    static const ChromiumLayout kVivaldi;
    static const ChromiumLayout kBraveBrowser;
};

} // namespace tolvex
