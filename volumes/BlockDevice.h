#pragma once

#include <QString>
#include <optional>

namespace tolvex {

// What the kernel tells about the block device behind a mount, read from /sys/class/block,
// the udev links under /dev/disk and the device's own superblock. A partition answers for its whole
// disk where the kernel keeps a property per disk (removable, transport).
class BlockDevice {
public:
    // The device a mount's source names (a path under /dev, possibly a link); nothing for a
    // source that is no block device (a network share, a kernel file system).
    static std::optional<BlockDevice> forSource(const QString& source);

    bool isRemovable() const;
    // Attached through USB, at any depth of the device tree.
    bool isUsb() const;
    // The image file a loop device reads, or nothing for a device that is no loop device or
    // has no file attached.
    std::optional<QString> loopBackingFile() const;
    // The file-system label, as udev links it or, without those links, as the device holds it;
    // nothing when there is none.
    std::optional<QString> label() const;

private:
    BlockDevice(QString devicePath, QString sysPath, QString diskSysPath);

    QString devicePath_;  // the canonical /dev path
    QString sysPath_;     // the canonical /sys/devices path of the device
    QString diskSysPath_; // the same for its whole disk
};

} // namespace tolvex
