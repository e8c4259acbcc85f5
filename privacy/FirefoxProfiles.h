#pragma once

#include "privacy/BrowserFolders.h"
#include "privacy/PrivInfoDic.h"

#include <QList>

namespace tolvex {

// Firefox's profiles: those that profiles.ini lists, in every folder where a build of Firefox
// keeps it, in the order the files list them.
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

    // A history table of places.sqlite and the condition that selects the rows a history
    // clean-up keeps; empty when it keeps none.
    struct PlacesHistoryTable {
        QString table;
        QString keptRows;
    };
    // The history tables of the places database at `places`, in the order the clean-up empties
    // them. While it holds bookmarks, the places they point at and those places' origins stay:
    // a bookmark's address lives there.
    static QList<PlacesHistoryTable> placesHistoryTables(const QString& places);

    explicit FirefoxProfiles(const QList<BrowserFolders>& places);

    QList<PrivFileDic> rows() const;
    CookiesDic cookies() const;

private:
    struct Profile {
        QString folder;
        QString cache; // the profile's cache2 folder
        BrowserFolders place;
    };
    void addProfilesListedIn(const QString& profilesFolder, const QString& cacheFolder,
                             const BrowserFolders& place);

    QList<Profile> profiles_;
};

} // namespace tolvex
