#include "volumes/BlockDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <blkid.h>
#include <memory>

namespace tolvex {

namespace {

const QString kDevFolder = QStringLiteral("/dev/");
const QString kClassBlock = QStringLiteral("/sys/class/block/");
const QString kLabelLinks = QStringLiteral("/dev/disk/by-label");

QString readLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readLine()).trimmed();
}

// udev writes unsafe characters of a label as \xHH in the link's name.
QString unescapedLabel(const QString& linkName)
{
    QByteArray label;
    const QByteArray name = QFile::encodeName(linkName);
    for (qsizetype i = 0; i < name.size(); ++i) {
        bool isHex = false;
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            const char byte = char(name.mid(i + 2, 2).toInt(&isHex, 16));
            if (isHex) {
                label.append(byte);
                i += 3;
                continue;
            }
        }
        label.append(name[i]);
    }
    return QString::fromUtf8(label);
}

struct ProbeDeleter {
    void operator()(blkid_struct_probe* probe) const { blkid_free_probe(probe); }
};
using Probe = std::unique_ptr<blkid_struct_probe, ProbeDeleter>;

// The label written in the file system's own superblock; nothing when the device cannot be read
// (a user without access to the device node) or its file system has no label.
std::optional<QString> superblockLabel(const QString& devicePath)
{
    const Probe probe(blkid_new_probe_from_filename(QFile::encodeName(devicePath).constData()));
    if (!probe)
        return std::nullopt;
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_LABEL);
    const char* label = nullptr;
    if (blkid_do_safeprobe(probe.get()) != 0 ||
        blkid_probe_lookup_value(probe.get(), "LABEL", &label, nullptr) != 0)
        return std::nullopt;
    return QString::fromUtf8(label);
}

} // namespace

BlockDevice::BlockDevice(QString devicePath, QString sysPath, QString diskSysPath)
    : devicePath_(std::move(devicePath)), sysPath_(std::move(sysPath)),
      diskSysPath_(std::move(diskSysPath))
{}

std::optional<BlockDevice> BlockDevice::forSource(const QString& source)
{
    if (!source.startsWith(kDevFolder))
        return std::nullopt;
    const QString devicePath = QFileInfo(source).canonicalFilePath();
    if (devicePath.isEmpty())
        return std::nullopt;
    const QString sysPath =
        QFileInfo(kClassBlock + QFileInfo(devicePath).fileName()).canonicalFilePath();
    if (sysPath.isEmpty())
        return std::nullopt;
    const bool isPartition = QFileInfo::exists(sysPath + QStringLiteral("/partition"));
    const QString diskSysPath = isPartition ? QFileInfo(sysPath).path() : sysPath;
    return BlockDevice(devicePath, sysPath, diskSysPath);
}

bool BlockDevice::isRemovable() const
{
    return readLine(diskSysPath_ + QStringLiteral("/removable")) == u"1";
}

bool BlockDevice::isUsb() const
{
    return diskSysPath_.contains(QStringLiteral("/usb"));
}

std::optional<QString> BlockDevice::loopBackingFile() const
{
    const QString backingFile = readLine(diskSysPath_ + QStringLiteral("/loop/backing_file"));
    if (backingFile.isEmpty())
        return std::nullopt;
    return backingFile;
}

std::optional<QString> BlockDevice::label() const
{
    // Without udev (containers, minimal systems) the links are missing, not the labels.
    if (!QFileInfo(kLabelLinks).isDir())
        return superblockLabel(devicePath_);
    const QFileInfoList links =
        QDir(kLabelLinks).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& link : links) {
        if (link.canonicalFilePath() == devicePath_)
            return unescapedLabel(link.fileName());
    }
    return std::nullopt;
}

} // namespace tolvex
