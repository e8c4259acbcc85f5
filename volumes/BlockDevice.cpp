#include "volumes/BlockDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    const QFileInfoList links =
        QDir(kLabelLinks).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& link : links) {
        if (link.canonicalFilePath() == devicePath_)
            return unescapedLabel(link.fileName());
    }
    return std::nullopt;
}

} // namespace tolvex
