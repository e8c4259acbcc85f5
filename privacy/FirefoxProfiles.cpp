#include "privacy/FirefoxProfiles.h"

#include "platform/HomeFolder.h"
#include "privacy/PrivFileRows.h"
#include "privacy/UtilsDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>

namespace tolvex {

using namespace PrivFileRows;

namespace {

// Current releases keep profiles.ini below the config folder, older ones in the home folder;
// the caches of both lie below the cache folder.
const QString kProfilesFolder = QStringLiteral("/mozilla/firefox");
const QString kLegacyProfilesFolder = QStringLiteral("/.mozilla/firefox");
const QString kProfilesList = QStringLiteral("/profiles.ini");
const QString kCacheFolder = QStringLiteral("/cache2");
const QString kProfileGroup = QStringLiteral("Profile%1");
const QString kBookmarksTable = QStringLiteral("moz_bookmarks");
const QString kBookmarkedPlaces = QStringLiteral("SELECT fk FROM moz_bookmarks WHERE fk NOT NULL");
// Firefox writes its databases ahead into a log that holds rows not yet in the file.
const QStringList kWriteAheadCompanions{kWriteAheadLog, kSharedMemory};

bool isInside(const QString& path, const QString& folder)
{
    return !folder.isEmpty() && path.startsWith(folder + u'/');
}

QString realHome()
{
    return QDir::cleanPath(HomeFolder::realHomeFolder().value_or(QString()));
}

// QSettings reads a value with commas as a list.
QString iniValue(const QSettings& ini, const QString& key)
{
    return ini.value(key).toStringList().join(u',');
}

// The [ProfileN] groups of profiles.ini, N counting from 0 up to the first that is missing, where
// Firefox stops reading.
QStringList profileGroups(const QSettings& ini)
{
    const QStringList groups = ini.childGroups();
    QStringList profiles;
    while (groups.contains(kProfileGroup.arg(profiles.size())))
        profiles << kProfileGroup.arg(profiles.size());
    return profiles;
}

quint64 placesHistoryCount(const QString& places)
{
    quint64 count = 0;
    for (const auto& [table, keptRows] : FirefoxProfiles::placesHistoryTables(places))
        count += Utils::countRecordsInDBFileAtPath(places, table, keptRows);
    return count;
}

} // namespace

QList<FirefoxProfiles::PlacesHistoryTable>
FirefoxProfiles::placesHistoryTables(const QString& places)
{
    QList<PlacesHistoryTable> tables{
        {kFaviconsTable, {}},
        {kHistoryVisitsTable, {}},
        {kOriginsTable, QStringLiteral("id IN (SELECT origin_id FROM moz_places WHERE origin_id "
                                       "NOT NULL AND id IN (%1))")
                            .arg(kBookmarkedPlaces)},
        {kPlacesTable, QStringLiteral("id IN (%1)").arg(kBookmarkedPlaces)}};
    // Without bookmarks the condition could not even be read: the table may be missing.
    if (Utils::countRecordsInDBFileAtPath(places, kBookmarksTable) == 0) {
        for (PlacesHistoryTable& table : tables)
            table.keptRows.clear();
    }
    return tables;
}

FirefoxProfiles::FirefoxProfiles(const QList<BrowserFolders>& places)
{
    for (const BrowserFolders& place : places) {
        const QString caches = place.caches + kProfilesFolder;
        for (const QString& folder :
             {place.applicationSupport + kProfilesFolder, place.home + kLegacyProfilesFolder}) {
            if (place.leadsThroughNoLink(folder))
                addProfilesListedIn(QDir::cleanPath(folder), QDir::cleanPath(caches), place);
        }
    }
}

// A relative Path stays inside the folder of profiles.ini, an absolute one inside the home
// folder; a profile is a real folder, reached through no link.
void FirefoxProfiles::addProfilesListedIn(const QString& profilesFolder, const QString& cacheFolder,
                                          const BrowserFolders& place)
{
    QSettings ini(profilesFolder + kProfilesList, QSettings::IniFormat);
    for (const QString& group : profileGroups(ini)) {
        ini.beginGroup(group);
        const QString path = iniValue(ini, QStringLiteral("Path"));
        const bool isRelative = iniValue(ini, QStringLiteral("IsRelative")) == u"1";
        ini.endGroup();
        const QString folder = QDir::cleanPath(isRelative ? profilesFolder + u'/' + path : path);
        const bool isAllowed = isRelative
                                   ? isInside(folder, profilesFolder)
                                   : QDir::isAbsolutePath(path) && isInside(folder, realHome());
        const bool isListed = std::any_of(profiles_.begin(), profiles_.end(),
                                          [&](const Profile& p) { return p.folder == folder; });
        if (!isAllowed || isListed || !QFileInfo(folder).isDir() ||
            !place.leadsThroughNoLink(folder))
            continue;
        // Firefox keeps the cache of a profile given by an absolute path inside it.
        const QString cache =
            (isRelative ? QDir::cleanPath(cacheFolder + u'/' + path) : folder) + kCacheFolder;
        profiles_ << Profile{folder, cache, place};
    }
}

QList<PrivFileDic> FirefoxProfiles::rows() const
{
    QList<PrivFileDic> rows;
    for (const Profile& profile : profiles_) {
        const auto inProfile = [&](const char* name) {
            return profile.folder + u'/' + QLatin1String(name);
        };
        const QString places = profile.folder + u'/' + kPlacesDatabase;
        rows << fileRow(places, placesHistoryCount(places), {kKeptPlacesEntry})
             << databaseRow(inProfile("favicons.sqlite"),
                            {QStringLiteral("moz_icons"), QStringLiteral("moz_pages_w_icons")},
                            kWriteAheadCompanions)
             << databaseRow(inProfile("webappsstore.sqlite"), {QStringLiteral("webappsstore2")},
                            kWriteAheadCompanions)
             << databaseRow(inProfile("formhistory.sqlite"), {QStringLiteral("moz_formhistory")},
                            kWriteAheadCompanions);
        // Current releases write the session compressed, and keep its recent copies aside.
        for (const char* session : {"sessionstore.js", "sessionstore.jsonlz4"})
            rows << fileRow(inProfile(session), 0, {inProfile(session)});
        for (const QString& folder : {inProfile("sessionstore-backups"), profile.cache}) {
            if (profile.place.leadsThroughNoLink(folder)) {
                if (const std::optional<PrivFileDic> row = folderRow(folder))
                    rows << *row;
            }
        }
    }
    return rows;
}

CookiesDic FirefoxProfiles::cookies() const
{
    QStringList files;
    quint64 count = 0;
    for (const Profile& profile : profiles_) {
        const PrivFileDic store =
            databaseRow(profile.folder + QStringLiteral("/cookies.sqlite"),
                        {QStringLiteral("moz_cookies")}, kWriteAheadCompanions);
        count += store.kBrowserFilesCount;
        files << store.kBrowserFilesToRemove;
    }
    return CookiesDic{files.value(0), count, files};
}

} // namespace tolvex
