// The volume list against the real mount table: the root, and loop-mounted images that are
// writable, read-only, marked hidden or mounted below a hidden folder.
#include "../LoopImage.h"
#include "engine/UtilsFileSystem.h"
#include "volumes/UtilsVolumeQueries.h"

#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

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

} // namespace

class TestVolumeQueries : public QObject {
    Q_OBJECT

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
};

QTEST_GUILESS_MAIN(TestVolumeQueries)
#include "test_volumequeries.moc"
