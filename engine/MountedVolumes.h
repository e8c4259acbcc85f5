#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace tolvex {

struct MountedVolume {
    QString path;     // the mount point
    QString name;     // the mount point's last path component; empty for the root
    QString device{}; // what is mounted: a device path, or the file system's own source name
    QString fsType{};
    QString options{}; // the mount's options, file-system and per-mount ones together

    bool operator==(const MountedVolume&) const = default;
};

// The mounted volumes, read from the mount table through libmount. Kernel pseudo file systems
// (proc, sysfs, tmpfs, cgroup, overlay, ...) are not volumes, except the root, which always is:
// in a container it is often an overlay, and the home folder's Trash must still find a volume.
// A folder mounted over several times stands for its last mount only.
class MountedVolumes {
public:
    // In mount-table order; the test list when one is set.
    static QList<MountedVolume> mountedVolumes();

    static void setForTesting(std::optional<QList<MountedVolume>> volumes);
};

} // namespace tolvex
