#include "engine/UtilsVolumes.h"

#include "engine/PathComponents.h"

namespace tolvex::Utils {

bool checkIfPathIsAVolume(const QString& path)
{
    return checkIfPathIsAVolume(path, MountedVolumes::mountedVolumes());
}

bool checkIfPathIsAVolume(const QString& path, const QList<MountedVolume>& volumes)
{
    const QString name = lastPathComponent(path);
    for (const MountedVolume& volume : volumes) {
        if (!volume.name.isEmpty() && volume.name == name) {
            return true;
        }
    }
    return false;
}

} // namespace tolvex::Utils
