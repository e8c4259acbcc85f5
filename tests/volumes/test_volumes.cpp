// The volume list against the real mount table: the root, and loop-mounted images that are
// writable, read-only, marked hidden or mounted below a hidden folder; the volume helper runner
// with a stand-in helper that records its launches, and the real one.
#include "../LoopImage.h"
#include "engine/UtilsFileSystem.h"
#include "platform/Task.h"
#include "volumes/EraseFreeSpaceRunner.h"
#include "volumes/UtilsVolumeQueries.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <thread>

using namespace tolvex;
using tolvex::testing::LoopImage;

namespace {

std::optional<VolDic> listed(const QString& mountPoint)
{
    const VolDics volumes = Utils::getAllDisksInfoArr();
    const auto found = std::ranges::find(volumes, mountPoint, &VolDic::dskPath);
    return found == volumes.end() ? std::nullopt : std::optional(*found);
}

void verifySizes(const VolDic& volume)
{
    QVERIFY(volume.dskTotalSpace_long > 0);
    QVERIFY(volume.dskFreeSpace_long + volume.dskOccupiedSpace_long <= volume.dskTotalSpace_long);
    QCOMPARE(volume.dskFreeSpace_readable + volume.dskTotalSpace_readable +
                 volume.dskOccupiedSpace_readable,
             Utils::getHumanReadableSizeFrom(qint64(volume.dskFreeSpace_long)) +
                 Utils::getHumanReadableSizeFrom(qint64(volume.dskTotalSpace_long)) +
                 Utils::getHumanReadableSizeFrom(qint64(volume.dskOccupiedSpace_long)));
    QVERIFY(volume.dskWritable && !volume.dskName.isEmpty());
}

VolDic volume(const QString& path)
{
    VolDic record;
    record.dskPath = path;
    return record;
}

} // namespace

class TestVolumes : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // Records each launch's arguments, one per line, then waits until `release` exists.
    QString waitingHelper()
    {
        QFile script(dir_.filePath(QStringLiteral("fake-tolx-dm")));
        script.open(QIODevice::WriteOnly);
        script.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\" >> '%1'; done\n"
                                    "echo out; echo err >&2\n"
                                    "while [ ! -e '%2' ]; do sleep 0.02; done\n")
                         .arg(dir_.filePath("launches"), dir_.filePath("release"))
                         .toUtf8());
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return script.fileName();
    }

    QStringList launches()
    {
        QFile file(dir_.filePath("launches"));
        return file.open(QIODevice::ReadOnly)
                   ? QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
                   : QStringList();
    }

private Q_SLOTS:
    void theRootIsAWritableVolumeButNoImage()
    {
        const std::optional<VolDic> root = listed(QStringLiteral("/"));
        if (::access("/", W_OK) != 0)
            QSKIP("the root file system is not writable here");
        QVERIFY(root);
        verifySizes(*root);
        QVERIFY(!root->dskIsDMG && !root->dskUnmountable);
        QVERIFY(!Utils::isDMGVolumeAtURL(QUrl::fromLocalFile(QStringLiteral("/"))));
    }

    void loopMountedImages_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("options");
        QTest::addColumn<bool>("isListed");
        QTest::addColumn<bool>("isMedia");
        QTest::newRow("writable") << "image" << QString() << true << true;
        QTest::newRow("read-only") << "image" << QString("ro") << false << true;
        QTest::newRow("marked hidden") << "image" << QString("x-gvfs-hide") << false << false;
        QTest::newRow("below a hidden folder") << ".hidden/image" << QString() << false << false;
    }

    void loopMountedImages()
    {
        QFETCH(QString, folder);
        QFETCH(QString, options);
        QFETCH(bool, isListed);
        QFETCH(bool, isMedia);
        if (const QString why = LoopImage::skipReason(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QTemporaryDir work;
        LoopImage image(work.filePath("volume.img"), work.filePath(folder), 8, options);
        if (!image.isMounted())
            QSKIP(qPrintable("the image could not be loop-mounted: " + image.error()));

        const std::optional<VolDic> volume = listed(image.mountPoint());
        QCOMPARE(volume.has_value(), isListed);
        // Writable or not, a visible image on a loop device is in the media list.
        QVERIFY(Utils::isDMGVolumeAtURL(QUrl::fromLocalFile(image.mountPoint())));
        QCOMPARE(Utils::getListOfUSBAndVirtualInterfaceMountedMediaPathsOnly().contains(
                     image.mountPoint()),
                 isMedia);
        if (!volume)
            return;
        verifySizes(*volume);
        QVERIFY(volume->dskIsDMG && volume->dskUnmountable);
        QCOMPARE(volume->dskType, QStringLiteral("ext4"));
        QCOMPARE(volume->dskName, QStringLiteral("image"));
        // Used and available as df reads them, the blocks kept for root in neither.
        QByteArray df;
        QVERIFY(testing::runTool("df", {"-B1", "--output=used,avail", image.mountPoint()}, &df));
        const QList<QByteArray> figures = df.split('\n').value(1).simplified().split(' ');
        QCOMPARE(volume->dskOccupiedSpace_long, figures.value(0).toULongLong());
        QCOMPARE(volume->dskFreeSpace_long, figures.value(1).toULongLong());
        // The label is read from the device itself where no udev links name it.
        QByteArray device;
        QVERIFY(testing::runTool("findmnt", {"-nro", "SOURCE", image.mountPoint()}, &device));
        QVERIFY(testing::runTool("e2label", {device.trimmed(), "Tolvex Data"}));
        QCOMPARE(listed(image.mountPoint())->dskName, QStringLiteral("Tolvex Data"));

        QVERIFY(image.unmount());
        QVERIFY(!listed(image.mountPoint()));
        QVERIFY(!Utils::isDMGVolumeAtURL(QUrl::fromLocalFile(image.mountPoint())));
    }

    // A folder mounted over is one volume, the one on top; the mount table escapes its space.
    void aFolderMountedTwiceIsListedOnce()
    {
        if (const QString why = LoopImage::skipReason(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QTemporaryDir work;
        const QString folder = work.filePath(QStringLiteral("My Disk"));
        const quint64 smallImageBytes = 8 << 20;
        LoopImage below(work.filePath("below.img"), folder, 8);
        LoopImage above(work.filePath("above.img"), folder, 16);
        if (!below.isMounted() || !above.isMounted())
            QSKIP(qPrintable("the images could not be loop-mounted: " + below.error() +
                             above.error()));

        QCOMPARE(std::ranges::count(Utils::getAllDisksInfoArr(), folder, &VolDic::dskPath),
                 qsizetype(1));
        QCOMPARE(listed(folder)->dskName, QStringLiteral("My Disk"));
        QVERIFY(listed(folder)->dskTotalSpace_long > smallImageBytes);
        QVERIFY(above.unmount());
        QVERIFY(listed(folder)->dskTotalSpace_long < smallImageBytes);
    }

    // A second call while the helper runs starts nothing; after the run the handle clears on
    // the main queue and the next call runs a new helper.
    void oneRunAtATime()
    {
        EraseFreeSpaceRunner runner(waitingHelper());
        for (const char* line : {"respStr > out", "error LOG >err", "Finished"})
            QTest::ignoreMessage(QtInfoMsg, line);
        const QString mountPath = QStringLiteral("/media/u/My Disk");
        std::thread first([&] { runner.runEraseFreeSpaceTask(volume(mountPath)); });
        QTRY_VERIFY(runner.eraseFrSpTask() && runner.eraseFrSpTask()->isRunning());
        const std::shared_ptr<Task> running = runner.eraseFrSpTask();

        std::thread second([&] { runner.runEraseFreeSpaceTask(volume("/other")); });
        second.join();
        QCOMPARE(runner.eraseFrSpTask(), running);

        QFile(dir_.filePath("release")).open(QIODevice::WriteOnly);
        first.join();
        QCOMPARE(launches(), QStringList({QStringLiteral("reformat"), mountPath}));
        QTRY_VERIFY(!runner.eraseFrSpTask());

        runner.runEraseFreeSpaceTask(volume("/other"));
        QCOMPARE(launches().size(), 4);
        QTRY_VERIFY(!runner.eraseFrSpTask());
    }

    // The real helper refuses every request without touching anything; a missing one leaves
    // the runner idle.
    void theRealHelperRefusesAndTheRunEnds()
    {
        EraseFreeSpaceRunner runner(qEnvironmentVariable("TOLVEX_BIN_DIR") + "/tolx-dm");
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression("^error LOG >tolx-dm: /: "));
        QTest::ignoreMessage(QtInfoMsg, "Terminated");
        runner.runEraseFreeSpaceTask(volume("/"));
        QTRY_VERIFY(!runner.eraseFrSpTask());
        EraseFreeSpaceRunner missing(dir_.filePath(QStringLiteral("missing")));
        missing.runEraseFreeSpaceTask(volume("/"));
        QVERIFY(!missing.eraseFrSpTask());
    }
};

QTEST_GUILESS_MAIN(TestVolumes)
#include "test_volumes.moc"
