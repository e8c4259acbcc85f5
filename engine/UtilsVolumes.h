#pragma once

#include "engine/MountedVolumes.h"

#include <QString>

namespace tolvex::Utils {

// YES when the path's last component is the name of a mounted volume. Only the name is
// compared, so any folder named like a mounted volume counts as one.
bool checkIfPathIsAVolume(const QString& path);
// The same against a mount table already read, for a caller that tests many paths.
bool checkIfPathIsAVolume(const QString& path, const QList<MountedVolume>& volumes);

} // namespace tolvex::Utils
