#include "platform/XdgFolders.h"

#include "platform/HomeFolder.h"

#include <QDir>

namespace tolvex {

namespace {

std::optional<QString> baseFolder(const char* variable, const QString& underHome)
{
    const QString folder = qEnvironmentVariable(variable);
    if (QDir::isAbsolutePath(folder))
        return QDir::cleanPath(folder);
    const std::optional<QString> home = HomeFolder::realHomeFolder();
    if (!home)
        return std::nullopt;
    return QDir::cleanPath(*home + u'/' + underHome);
}

} // namespace

std::optional<QString> XdgFolders::dataHome()
{
    return baseFolder("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

std::optional<QString> XdgFolders::configHome()
{
    return baseFolder("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

std::optional<QString> XdgFolders::cacheHome()
{
    return baseFolder("XDG_CACHE_HOME", QStringLiteral(".cache"));
}

QStringList XdgFolders::dataDirs()
{
    QStringList folders;
    const QStringList listed =
        qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts);
    for (const QString& folder : listed) {
        if (QDir::isAbsolutePath(folder))
            folders << QDir::cleanPath(folder);
    }
    if (folders.isEmpty())
        folders = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    return folders;
}

} // namespace tolvex
