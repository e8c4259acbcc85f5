#include "privacy/FirefoxProfiles.h"

#include "engine/UtilsFileSystem.h"
#include "privacy/PrivFileRows.h"
#include "privacy/UtilsDatabase.h"

namespace tolvex {

using namespace PrivFileRows;

namespace {

const QString kProfilesFolder = QStringLiteral("/.mozilla/firefox");
const QStringList kPlacesTables{FirefoxProfiles::kFaviconsTable,
                                FirefoxProfiles::kHistoryVisitsTable, FirefoxProfiles::kPlacesTable,
                                FirefoxProfiles::kOriginsTable};

} // namespace

FirefoxProfiles::FirefoxProfiles(const BrowserFolders& folders)
    : profiles_(Utils::childrenForParentFolderAtPathOneLevel(folders.home + kProfilesFolder)
                    .value_or(QStringList()))
{}

QList<PrivFileDic> FirefoxProfiles::rows() const
{
    QList<PrivFileDic> rows;
    for (const QString& profile : profiles_) {
        const QString places = profile + u'/' + kPlacesDatabase;
        const QString webappsStore = profile + QStringLiteral("/webappsstore.sqlite");
        const QString formHistory = profile + QStringLiteral("/formhistory.sqlite");
        const QString sessionStore = profile + QStringLiteral("/sessionstore.js");
        rows << fileRow(places, tablesCount(places, kPlacesTables), {kKeptPlacesEntry})
             << databaseRow(webappsStore, {QStringLiteral("webappsstore2")}, {})
             << databaseRow(formHistory, {QStringLiteral("moz_formhistory")}, {})
             << fileRow(sessionStore, 0, {sessionStore});
    }
    return rows;
}

CookiesDic FirefoxProfiles::cookies() const
{
    QStringList files;
    quint64 count = 0;
    for (const QString& profile : profiles_) {
        const QString cookies = profile + QStringLiteral("/cookies.sqlite");
        count += Utils::countRecordsInDBFileAtPath(cookies, QStringLiteral("moz_cookies"));
        files << cookies;
    }
    return CookiesDic{files.value(0), count, files};
}

} // namespace tolvex
