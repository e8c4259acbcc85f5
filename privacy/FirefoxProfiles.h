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

    explicit FirefoxProfiles(const BrowserFolders& folders);

    bool isEmpty() const { return profiles_.isEmpty(); }
    QList<PrivFileDic> rows() const;
    CookiesDic cookies() const;

private:
    QStringList profiles_;
};

} // namespace tolvex
