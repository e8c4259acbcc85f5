#include "EngineTestRig.h"
#include "engine/GetPathsOperation.h"
#include "engine/LoadOperation.h"
#include "engine/SizeLoadDic.h"
#include "engine/SizeMeasurement.h"
#include "engine/UtilsFileSystem.h"
#include "platform/NotificationCenter.h"
#include "platform/OperationQueue.h"

#include <QFile>
#include <QRegularExpression>
#include <future>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

// An operation that holds the size queue's only thread until it is let go.
struct Gate : Operation {
    std::promise<void> open;
    void main() override { open.get_future().wait(); }
};

quint64 sizeOf(const QString& path)
{
    return Utils::fileSizeAtPath(path);
}

} // namespace

class TestSizeMeasurement : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { world = std::make_unique<TestWorld>(); }
    void cleanup() { world.reset(); }

    // Hidden files and empty folders, a missing path, a link, and each listed entry's own size.
    void sizesAndCountsOfARealTree()
    {
        const QString a = world->file("a", 5000);
        const QString f = world->folder("F");
        const QString f1 = world->file("F/one", 3000);
        const QString f2 = world->file("F/.hidden", 4096 * 3);
        const QString f3 = world->file("F/sub/deeper/three", 1);
        world->folder("F/empty/emptier");
        world->file("outside/big", 100000);
        QVERIFY(QFile::link(world->root + "/outside", f + "/folderLink"));
        const QString missing = world->root + "/gone";

        const LoadOperation::Measure m = LoadOperation::multipleItemsSize({a, missing, f});
        QCOMPARE(m.scanTotalFilesCount, quint64(6));
        QCOMPARE(m.size, sizeOf(a) + sizeOf(f) + sizeOf(f1) + sizeOf(f2) + sizeOf(f3) +
                             sizeOf(f + "/folderLink"));
        QCOMPARE(LoadOperation::folderSize(f + "/empty").scanTotalFilesCount, quint64(0));
    }

    // A folder that cannot be listed is logged and left out; the rest is still measured.
    void aFolderThatCannotBeListedIsSkipped()
    {
        world->filesAroundTooDeepFolder("root", 20);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("File name too long$"));
        QCOMPARE(LoadOperation::folderSize(world->root + "/root").scanTotalFilesCount, quint64(20));
    }

    void aNewerMeasurementCancelsTheOlderOne()
    {
        // One operation at a time: the posts never overlap.
        QList<SizeLoadDic> posted;
        const auto token = NotificationCenter::defaultCenter().addObserver(
            kSizeLoadDidFinish,
            [&](const Notification& n) { posted.append(n.object.value<SizeLoadDic>()); });
        const QString old = world->file("old", 10);
        const QString newer = world->file("newer", 20000);
        SizeMeasurement sizes;
        auto gate = std::make_shared<Gate>();
        sizes.sizeQueue().setMaxConcurrentOperationCount(1);
        sizes.sizeQueue().addOperation(gate);
        sizes.addMeasurement({old}, 1);
        sizes.addMeasurement({old}, 35);
        sizes.cancelOperationsWithOperIDint(1);
        sizes.addMeasurement({newer, old}, 1);
        gate->open.set_value();
        sizes.sizeQueue().waitUntilAllOperationsAreFinished();
        NotificationCenter::defaultCenter().removeObserver(token);
        QCOMPARE(posted.size(), 2);
        QCOMPARE(posted[0].scanCount, qint64(35));
        QCOMPARE(posted[1].scanCount, qint64(1));
        QCOMPARE(posted[1].scanTotalFilesCount, quint64(2));
    }

private:
    std::unique_ptr<TestWorld> world;
};

QTEST_GUILESS_MAIN(TestSizeMeasurement)
#include "test_sizemeasurement.moc"
