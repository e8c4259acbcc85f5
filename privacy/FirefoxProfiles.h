#pragma once

#include "privacy/BrowserFolders.h"
#include "privacy/PrivInfoDic.h"

#include <QList>

namespace tolvex {

// Firefox's profiles: every visible child of its profiles folder, files included, is taken for a
// profile, in the order the folder lists them.
class FirefoxProfiles {
public:
    // The entry that stands in the history rows for places.sqlite, which the clean-up keeps and
    // empties table by table instead of removing it.
    static inline const QString kKeptPlacesEntry = QStringLiteral("empty");
    // The history database of a profile and its history tables.
    static inline const QString kPlacesDatabase = QStringLiteral("places.sqlite");
    static inline const QString kFaviconsTable = QStringLiteral("moz_favicons");
    static inline const QString kHistoryVisitsTable = QStringLiteral("moz_historyvisits");
    static inline const QString kPlacesTable = QStringLiteral("moz_places");
    static inline const QString kOriginsTable = QStringLiteral("moz_origins");

    explicit FirefoxProfiles(const BrowserFolders& folders);

    QList<PrivFileDic> rows() const;
    CookiesDic cookies() const;

private:
    QStringList profiles_;
};

} // namespace tolvex
