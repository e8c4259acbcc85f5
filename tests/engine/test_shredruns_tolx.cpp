#include "EngineTestRig.h"
#include "engine/SizeLoadDic.h"
#include "engine/SizeMeasurement.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsSettings.h"
#include "platform/NotificationCenter.h"

#include <unistd.h>

using namespace tolvex;
using namespace tolvex::testing;

// A shred run through the real shredding helper. Runs of all three lists and a cancelled run go
// through it from the main window in the app's tests.
class TestShredRunsTolx : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        world = std::make_unique<TestWorld>();
        rig = std::make_unique<EngineRig>(binDir() + "/tolx");
    }
    void cleanup()
    {
        rig.reset();
        world.reset();
    }

    // A list of 50,000 files with 200-byte paths goes the whole road with one press: measured,
    // shredded by the helper in several launches, one notice, exact lifetime totals, nothing left.
    void fiftyThousandLongPathsAreShreddedWithOnePress()
    {
        constexpr int kFiles = 50000;
        constexpr int kPathLength = 200;
        QStringList files;
        for (int i = 0; i < kFiles; ++i) {
            QString path = world->folder(QStringLiteral("tree/d%1").arg(i % 50)) +
                           QStringLiteral("/f%1-").arg(i);
            path += QString(kPathLength - path.size(), u'p');
            files.append(world->byteNamedFile(path.mid(world->root.size() + 1).toUtf8(),
                                              i % 10 == 0 ? 1000 : 0));
        }
        const quint64 fileBytes = settledSize(files);

        rig->lists.setFilePathsArr(1, files);
        measure(1);

        rig->runs.shredFiles(rig->lists.pathsDicsForEditVC(), false);
        QTRY_VERIFY_WITH_TIMEOUT(!rig->window.linesStartingWith("hud").isEmpty() ||
                                     !rig->window.linesStartingWith("filled 1").isEmpty(),
                                 800000);
        GlobalQueue::waitForDone();
        QCOMPARE(rig->window.linesStartingWith("hud"),
                 QStringList{"hud 3 1-pass shredding is complete!"});
        QCOMPARE(rig->window.linesStartingWith("ring").last(), QString("ring 1 1"));
        for (const QString& file : files) {
            QVERIFY(!QFileInfo::exists(file));
        }
        QCOMPARE(rig->lists.filePathsArr(1), QStringList());
        const TotalShredInfoDic totals = *Utils::getTotalShredInfoDic();
        QCOMPARE(totals.shredFilesCount.value_or(0), quint64(kFiles));
        QCOMPARE(totals.shredDataSize.value_or(0), fileBytes);
    }

private:
    // Measures list `listId` as the main window does when it shows it filled, and keeps the count.
    void measure(qint64 listId)
    {
        SizeMeasurement sizes;
        std::atomic<bool> measured = false;
        const auto token = NotificationCenter::defaultCenter().addObserver(
            kSizeLoadDidFinish, [&](const Notification& n) {
                rig->lists.setTotalFilesPassCountNum(
                    listId, n.object.value<SizeLoadDic>().scanTotalFilesCount);
                measured = true;
            });
        sizes.addMeasurement(rig->lists.filePathsArr(listId), listId);
        QTRY_VERIFY_WITH_TIMEOUT(measured, 60000);
        NotificationCenter::defaultCenter().removeObserver(token);
    }

    // A file's allocated size changes when delayed allocation reaches the disk, which a loaded
    // machine may do only after the helper has measured it: measure once the writes are out.
    static quint64 settledSize(const QStringList& paths)
    {
        ::sync();
        quint64 bytes = 0;
        for (const QString& path : paths) {
            bytes += Utils::fileSizeAtPath(path);
        }
        return bytes;
    }

    std::unique_ptr<TestWorld> world;
    std::unique_ptr<EngineRig> rig;
};

QTEST_GUILESS_MAIN(TestShredRunsTolx)
#include "test_shredruns_tolx.moc"
