#include "EngineTestRig.h"
#include "engine/GetPathsOperation.h"
#include "engine/LoadOperation.h"
#include "engine/SizeLoadDic.h"
#include "engine/SizeMeasurement.h"
#include "engine/UtilsFileSystem.h"
#include "platform/NotificationCenter.h"
#include "platform/OperationQueue.h"

#include <QElapsedTimer>
#include <QFile>
#include <mutex>
#include <thread>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

// Collects every kSizeLoadDidFinish posted while it lives.
class SizeResults {
public:
    SizeResults()
    {
        token_ = NotificationCenter::defaultCenter().addObserver(
            kSizeLoadDidFinish, [this](const Notification& n) {
                std::lock_guard lock(mutex_);
                results_.append(n.object.value<SizeLoadDic>());
            });
    }
    ~SizeResults() { NotificationCenter::defaultCenter().removeObserver(token_); }

    QList<SizeLoadDic> results() const
    {
        std::lock_guard lock(mutex_);
        return results_;
    }

private:
    mutable std::mutex mutex_;
    QList<SizeLoadDic> results_;
    NotificationCenter::Token token_ = 0;
};

// An operation that holds the size queue's only thread until it is let go.
class Gate : public Operation {
public:
    void main() override
    {
        std::unique_lock lock(mutex);
        opened.wait(lock, [this] { return isOpen; });
    }
    void open()
    {
        std::lock_guard lock(mutex);
        isOpen = true;
        opened.notify_all();
    }
    std::mutex mutex;
    std::condition_variable opened;
    bool isOpen = false;
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

    void countsFilesAndAddsEachListedEntrysOwnSize()
    {
        const QString a = world->file("a", 5000);
        const QString b = world->file("b", 10);
        const QString f = world->folder("F");
        const QString f1 = world->file("F/one", 3000);
        const QString f2 = world->file("F/.hidden", 4096 * 3);
        const QString f3 = world->file("F/sub/deeper/three", 1);
        world->folder("F/empty/emptier");

        const LoadOperation::Measure m = LoadOperation::multipleItemsSize({a, b, f});
        QCOMPARE(m.scanTotalFilesCount, quint64(5));
        const quint64 folders = sizeOf(f) + sizeOf(f + "/sub") + sizeOf(f + "/sub/deeper") +
                                sizeOf(f + "/empty") + sizeOf(f + "/empty/emptier");
        QCOMPARE(m.size, sizeOf(a) + sizeOf(b) + sizeOf(f) + sizeOf(f1) + sizeOf(f2) + sizeOf(f3));
        QVERIFY(m.size < sizeOf(a) + sizeOf(b) + sizeOf(f1) + sizeOf(f2) + sizeOf(f3) + folders);
        QVERIFY(sizeOf(f) > 0);
    }

    void emptyFoldersAndMissingPaths()
    {
        const QString empty = world->folder("E/x/y");
        QCOMPARE(LoadOperation::folderSize(world->root + "/E").scanTotalFilesCount, quint64(0));
        const LoadOperation::Measure missing =
            LoadOperation::multipleItemsSize({world->root + "/gone"});
        QCOMPARE(missing.scanTotalFilesCount, quint64(1));
        QCOMPARE(missing.size, quint64(0));
        const LoadOperation::Measure none = LoadOperation::multipleItemsSize({});
        QCOMPARE(none.scanTotalFilesCount, quint64(0));
        QCOMPARE(none.size, quint64(0));
        QVERIFY(!empty.isEmpty());
    }

    void aLinkIsOneFileAndItsTargetIsNotWalked()
    {
        world->file("outside/big", 100000);
        world->file("outside/more", 100000);
        world->file("L/real", 10);
        QVERIFY(QFile::link(world->root + "/outside", world->root + "/L/folderLink"));
        const LoadOperation::Measure m = LoadOperation::multipleItemsSize({world->root + "/L"});
        QCOMPARE(m.scanTotalFilesCount, quint64(2));
        QVERIFY(m.size < 100000);
    }

    void measurementPostsItsListId()
    {
        SizeResults results;
        const QString a = world->file("a", 700);
        SizeMeasurement sizes;
        sizes.addMeasurement({a, world->root + "/gone"}, 7);
        QTRY_COMPARE(results.results().size(), 1);
        const SizeLoadDic dic = results.results().first();
        QCOMPARE(dic.scanCount, qint64(7));
        QCOMPARE(dic.scanTotalFilesCount, quint64(2));
        QCOMPARE(dic.size, sizeOf(a));
    }

    void theMeasuringOperationIsNamedAndVeryHigh()
    {
        OperationQueue queue;
        auto gate = std::make_shared<Gate>();
        queue.setMaxConcurrentOperationCount(1);
        queue.addOperation(gate);
        GetPathsOperation getPaths({world->root}, queue, 35);
        getPaths.main();
        const auto operations = queue.operations();
        QCOMPARE(operations.size(), std::size_t(2));
        QCOMPARE(operations.back()->name(), QString("sizeOperation35"));
        QCOMPARE(operations.back()->queuePriority(), 8);
        operations.back()->cancel();
        gate->open();
        queue.waitUntilAllOperationsAreFinished();
    }

    void aNewerMeasurementCancelsTheOlderOne()
    {
        SizeResults results;
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
        gate->open();
        sizes.sizeQueue().waitUntilAllOperationsAreFinished();

        const QList<SizeLoadDic> posted = results.results();
        QCOMPARE(posted.size(), 2);
        QCOMPARE(posted[0].scanCount, qint64(35));
        QCOMPARE(posted[1].scanCount, qint64(1));
        QCOMPARE(posted[1].scanTotalFilesCount, quint64(2));
    }

    void cancellingDuringTheWalkPostsNothing()
    {
        SizeResults results;
        for (int i = 0; i < 20000; ++i) {
            world->file(QStringLiteral("T/%1/f%2").arg(i % 50).arg(i), 0);
        }
        auto load = std::make_shared<LoadOperation>(QStringList{world->root + "/T"}, 7);
        QElapsedTimer walking;
        std::atomic<qint64> walkedMs = 0;
        walking.start();
        std::thread thread([&] {
            load->main();
            walkedMs = walking.elapsed();
        });
        QTest::qSleep(5);
        load->cancel();
        thread.join();
        if (walkedMs <= 5) {
            QSKIP("the walk ended before it could be cancelled");
        }
        QCOMPARE(results.results().size(), 0);
    }

private:
    std::unique_ptr<TestWorld> world;
};

QTEST_GUILESS_MAIN(TestSizeMeasurement)
#include "test_sizemeasurement.moc"
