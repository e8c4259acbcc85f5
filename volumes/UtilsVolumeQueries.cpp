#include "volumes/UtilsVolumeQueries.h"

#include "engine/MountedVolumes.h"
#include "engine/UtilsFileSystem.h"
#include "volumes/BlockDevice.h"
#include "volumes/VolumesLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <libmount.h>
#include <sys/statvfs.h>

namespace tolvex::Utils {

namespace {

const QString kRoot = QStringLiteral("/");
const QString kUsbProtocol = QStringLiteral("USB");
const QString kVirtualInterfaceProtocol = QStringLiteral("Virtual Interface");
constexpr const char* kHiddenOption = "x-gvfs-hide";
constexpr const char* kReadOnlyOption = "ro";

// Mount points of the installed system, which the desktop never offers to unmount.
const QStringList& systemMountPoints()
{
    static const QStringList points{kRoot,
                                    QStringLiteral("/boot"),
                                    QStringLiteral("/boot/efi"),
                                    QStringLiteral("/efi"),
                                    QStringLiteral("/home"),
                                    QStringLiteral("/opt"),
                                    QStringLiteral("/srv"),
                                    QStringLiteral("/tmp"),
                                    QStringLiteral("/usr"),
                                    QStringLiteral("/var")};
    return points;
}

bool hasOption(const QString& options, const char* name)
{
    const QByteArray encoded = options.toUtf8();
    return mnt_optstr_get_option(encoded.constData(), name, nullptr, nullptr) == 0;
}

bool isBelowHiddenFolder(const QString& mountPoint)
{
    const QStringList parts = mountPoint.split(u'/', Qt::SkipEmptyParts);
    return std::any_of(parts.begin(), parts.end(),
                       [](const QString& part) { return part.startsWith(u'.'); });
}

// The volumes a user would recognise as such. A file bind-mounted over another file (as
// containers do with /etc/hosts) is no volume either.
QList<MountedVolume> visibleVolumes()
{
    QList<MountedVolume> visible;
    for (const MountedVolume& volume : MountedVolumes::mountedVolumes()) {
        if (!hasOption(volume.options, kHiddenOption) && !isBelowHiddenFolder(volume.path) &&
            QFileInfo(volume.path).isDir())
            visible.append(volume);
    }
    return visible;
}

// Whether the volume itself takes writes, whoever owns its top folder: a disk formatted by root
// is still a writable volume to its user.
bool isWritable(const MountedVolume& volume, const struct statvfs& fileSystem)
{
    return !hasOption(volume.options, kReadOnlyOption) && !(fileSystem.f_flag & ST_RDONLY);
}

QString displayName(const MountedVolume& volume, const std::optional<BlockDevice>& device)
{
    if (const std::optional<QString> label = device ? device->label() : std::nullopt)
        return *label;
    return volume.path == kRoot ? QSysInfo::machineHostName() : volume.name;
}

bool isDiskImage(const std::optional<BlockDevice>& device)
{
    return device && device->loopBackingFile().has_value();
}

QString readable(quint64 bytes)
{
    return getHumanReadableSizeFrom(qint64(bytes));
}

std::optional<VolDic> volDic(const MountedVolume& volume)
{
    struct statvfs sizes {};
    if (::statvfs(QFile::encodeName(volume.path).constData(), &sizes) != 0)
        return std::nullopt;
    // As df counts them: the blocks kept for root are neither used nor available to the user.
    const quint64 free = quint64(sizes.f_bavail) * sizes.f_frsize;
    const quint64 total = quint64(sizes.f_blocks) * sizes.f_frsize;
    const quint64 occupied = quint64(sizes.f_blocks - sizes.f_bfree) * sizes.f_frsize;
    const std::optional<BlockDevice> device = BlockDevice::forSource(volume.device);
    return VolDic{displayName(volume, device),
                  volume.path,
                  device && device->isRemovable(),
                  isWritable(volume, sizes),
                  !systemMountPoints().contains(volume.path),
                  volume.fsType,
                  volume.fsType,
                  isDiskImage(device),
                  readable(free),
                  free,
                  total,
                  readable(total),
                  occupied,
                  readable(occupied)};
}

// The transport a volume's device is reached through, of the two that the media list names.
std::optional<QString> deviceProtocol(const BlockDevice& device)
{
    if (device.isUsb())
        return kUsbProtocol;
    if (device.loopBackingFile())
        return kVirtualInterfaceProtocol;
    return std::nullopt;
}

} // namespace

VolDics getAllDisksInfoArr()
{
    VolDics volumes;
    for (const MountedVolume& volume : visibleVolumes()) {
        const std::optional<VolDic> record = volDic(volume);
        if (record && record->dskWritable)
            volumes.append(*record);
    }
    return volumes;
}

bool isDMGVolumeAtURL(const QUrl& volumeUrl)
{
    if (!volumeUrl.isLocalFile())
        return false;
    const QString path = QDir::cleanPath(volumeUrl.toLocalFile());
    const QList<MountedVolume> volumes = MountedVolumes::mountedVolumes();
    const auto volume =
        std::find_if(volumes.begin(), volumes.end(),
                     [&](const MountedVolume& mounted) { return mounted.path == path; });
    return volume != volumes.end() && isDiskImage(BlockDevice::forSource(volume->device));
}

QStringList getListOfUSBAndVirtualInterfaceMountedMediaPathsOnly()
{
    QStringList paths;
    for (const MountedVolume& volume : visibleVolumes()) {
        const std::optional<BlockDevice> device = BlockDevice::forSource(volume.device);
        const std::optional<QString> protocol = device ? deviceProtocol(*device) : std::nullopt;
        if (!protocol)
            continue;
        qCInfo(lcVolumes).noquote() << QStringLiteral("deviceProtocolName> %1").arg(*protocol);
        paths.append(volume.path);
    }
    return paths;
}

} // namespace tolvex::Utils
