#pragma once

// A small ext4 image in a file, loop-mounted for as long as the object lives. Mounting needs
// root and loop devices; skipReason() says why a test cannot have one.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <unistd.h>

namespace tolvex::testing {

inline bool runTool(const QString& program, const QStringList& arguments,
                    QByteArray* output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(60000);
    if (output)
        *output = process.readAll();
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

class LoopImage {
public:
    // `options` are added to "loop" in the mount's options (for example "ro"). The loop device
    // is set to clear itself, so unmounting also detaches it.
    LoopImage(const QString& imagePath, const QString& mountPoint, int megabytes,
              const QString& options = QString())
        : image_(imagePath), mountPoint_(mountPoint)
    {
        QFile file(image_);
        mounted_ = file.open(QIODevice::WriteOnly) && file.resize(qint64(megabytes) << 20) &&
                   QDir().mkpath(mountPoint_) &&
                   runTool("mkfs.ext4", {"-q", "-F", image_}, &error_) &&
                   runTool("mount",
                           {"-o", options.isEmpty() ? QString("loop") : "loop," + options, image_,
                            mountPoint_},
                           &error_);
    }
    ~LoopImage() { unmount(); }
    LoopImage(const LoopImage&) = delete;
    LoopImage& operator=(const LoopImage&) = delete;

    bool isMounted() const { return mounted_; }
    QByteArray error() const { return error_; }
    QString mountPoint() const { return mountPoint_; }
    QString path(const QString& relative) const { return mountPoint_ + '/' + relative; }
    bool unmount()
    {
        if (mounted_ && runTool("umount", {mountPoint_}, &error_))
            mounted_ = false;
        return !mounted_;
    }
    QByteArray rawBytes() const
    {
        QFile file(image_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Empty when this process can loop-mount images, else why not.
    static QString skipReason()
    {
        if (geteuid() != 0)
            return "loop-mounting an ext4 image needs root; this test did not run";
        for (const QString tool : {"mkfs.ext4", "mount", "umount"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                return tool + " is not installed; this test did not run";
        if (!QFile::exists("/dev/loop-control"))
            return "no loop devices (/dev/loop-control is missing); this test did not run";
        return {};
    }

private:
    QString image_;
    QString mountPoint_;
    bool mounted_ = false;
    QByteArray error_;
};

} // namespace tolvex::testing
