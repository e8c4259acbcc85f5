#pragma once

#include "volumes/VolDic.h"

#include <QStringList>
#include <QUrl>

// The mounted volumes as the volumes screen sees them. Stateless; any thread.
namespace tolvex::Utils {

// Every mounted volume that is not hidden and not mounted read-only, in mount-table
// order. Hidden: kernel pseudo file systems, mounts marked x-gvfs-hide, and mounts below a
// hidden folder. A volume whose sizes cannot be read is left out.
VolDics getAllDisksInfoArr();

// Whether the volume at `volumeUrl` (its mount point) is an image file mounted through a loop
// device. False for anything that is not the file URL of a mount point.
bool isDMGVolumeAtURL(const QUrl& volumeUrl);

// The mount points of the visible volumes on USB devices or on loop-mounted image files.
QStringList getListOfUSBAndVirtualInterfaceMountedMediaPathsOnly();

} // namespace tolvex::Utils
