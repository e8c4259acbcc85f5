#pragma once

#include <QString>
#include <QStringList>

namespace tolvex::MediaMountRoots {

// The folders below which this desktop mounts volumes: the places outside the home folder that
// items may be shredded from.
inline const QStringList& roots()
{
    static const QStringList folders{QStringLiteral("/media"), QStringLiteral("/run/media"),
                                     QStringLiteral("/mnt")};
    return folders;
}

// Whether `path` begins with one of the roots (a plain string-prefix test).
inline bool startsWithAny(const QString& path)
{
    for (const QString& root : roots()) {
        if (path.startsWith(root)) {
            return true;
        }
    }
    return false;
}

} // namespace tolvex::MediaMountRoots
