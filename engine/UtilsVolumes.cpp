#include "engine/UtilsVolumes.h"

#include "engine/MountedVolumes.h"
#include "engine/PathComponents.h"

namespace tolvex::Utils {

bool checkIfPathIsAVolume(const QString& path)
{
    const QString name = lastPathComponent(path);
    for (const MountedVolume& volume : MountedVolumes::mountedVolumes()) {
        if (!volume.name.isEmpty() && volume.name == name) {
            return true;
        }
    }
    return false;
}

} // namespace tolvex::Utils
