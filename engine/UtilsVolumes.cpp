#include "engine/UtilsVolumes.h"

#include "engine/MountedVolumes.h"
#include "engine/UtilsFileSystem.h"

#include <QDir>

namespace tolvex::Utils {

QSet<QString> volumeMountPoints()
{
    QSet<QString> mountPoints;
    for (const MountedVolume& volume : MountedVolumes::mountedVolumes()) {
        mountPoints.insert(QDir::cleanPath(volume.path));
    }
    mountPoints.remove(QStringLiteral("/"));
    return mountPoints;
}

bool checkIfPathIsAVolume(const QString& path, const QSet<QString>& mountPoints)
{
    return mountPoints.contains(QDir::cleanPath(path));
}

QStringList expandVolumes(const QStringList& paths)
{
    const QSet<QString> mountPoints = volumeMountPoints();
    QStringList expanded = paths;
    for (const QString& path : paths) {
        if (!checkIfPathIsAVolume(path, mountPoints)) {
            continue;
        }
        if (const auto children = childrenForParentFolderAtPathOneLevel(path)) {
            expanded.append(*children);
        }
        expanded.removeAll(path);
    }
    return expanded;
}

} // namespace tolvex::Utils
