#include "EngineTestRig.h"
#include "engine/ListId.h"
#include "engine/SizeLoadDic.h"
#include "engine/SizeMeasurement.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsSettings.h"
#include "platform/NotificationCenter.h"

#include <QMimeData>
#include <QUrl>
#include <unistd.h>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

quint64 filesDone()
{
    return Utils::getTotalShredInfoDic().value_or(TotalShredInfoDic{}).shredFilesCount.value_or(0);
}

} // namespace

// Shred runs through the real shredding helper.
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

    // Three lists at once, a folder tree among them and a listed item that has vanished.
    void threeListsShredAtOnce()
    {
        const QString f = world->folder("seven/F");
        world->file("seven/F/one", 3000);
        world->file("seven/F/sub/.two", 5);
        const QString c = world->file("seven/c", 10000);
        const QString a = world->file("one/a");
        const QString d = world->file("thirtyfive/d", 50000);
        const quint64 bytes = settledSize({f + "/one", f + "/sub/.two", c, a, d});
        rig->lists.setFilePathsArr(1, {a, world->root + "/gone"});
        rig->lists.setFilePathsArr(7, {f, c});
        rig->lists.setFilePathsArr(35, {d});
        rig->runs.shredFiles(rig->lists.pathsDicsForEditVC(), false);
        QTRY_COMPARE_WITH_TIMEOUT(rig->window.linesStartingWith("hud").size(), 3, 120000);
        QStringList huds = rig->window.linesStartingWith("hud");
        huds.sort();
        QCOMPARE(huds, QStringList({"hud 3 1-pass shredding is complete!",
                                    "hud 3 35-pass shredding is complete!",
                                    "hud 3 7-pass shredding is complete!"}));
        for (const char* folder : {"one", "seven", "thirtyfive"}) {
            QCOMPARE(QDir(world->root + "/" + folder)
                         .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                     QStringList());
        }
        for (qint64 listId : kListIds) {
            QCOMPARE(rig->lists.filePathsArr(listId), QStringList());
        }
        QCOMPARE(filesDone(), quint64(5));
        QCOMPARE(Utils::getTotalShredInfoDic()->shredDataSize.value_or(0), bytes);
    }

    void terminatingMidRunPrunesOnlyWhatIsGone()
    {
        QStringList paths;
        for (int i = 0; i < 6; ++i) {
            paths.append(world->file(QStringLiteral("f%1").arg(i), 512 * 1024));
        }
        rig->lists.setFilePathsArr(35, paths);
        const ShredEntryDics records = rig->lists.pathsDicsForEditVC();
        rig->window.onLog = [&](const QString& line) {
            if (line == "descrTF 35 f2") {
                rig->tasks.terminate(35);
            }
        };
        rig->runs.shredFiles(records, false);
        QTRY_VERIFY_WITH_TIMEOUT(!rig->window.linesStartingWith("filled 35").isEmpty(), 120000);
        QVERIFY(rig->window.linesStartingWith("hud").isEmpty());
        const QStringList kept = rig->lists.filePathsArr(35);
        QVERIFY(kept.contains(paths[2]));
        QVERIFY(!kept.contains(paths[0]));
        for (const QString& path : paths) {
            QCOMPARE(kept.contains(path), QFileInfo::exists(path));
        }
        QVERIFY(!rig->tasks.isShredding(35));
    }

    void moreThan4000RecordsRunTheHelperPerChunk()
    {
        rig->lists.setFilePathsArr(1, world->files("many", 4001));
        rig->runs.shredFiles(rig->lists.pathsDicsForEditVC(), false);
        QTRY_COMPARE_WITH_TIMEOUT(rig->window.linesStartingWith("hud").size(), 2, 240000);
        GlobalQueue::waitForDone();
        QCOMPARE(rig->window.linesStartingWith("hud"),
                 QStringList({"hud 3 1-pass shredding is complete!",
                              "hud 3 1-pass shredding is complete!"}));
        QCOMPARE(QDir(world->root + "/many").entryList(QDir::Files), QStringList());
        QCOMPARE(filesDone(), quint64(4001));
    }

    // A real tree of 10,000 files goes the whole road: dropped on the 1-pass zone, measured,
    // shredded by the helper, counted in the lifetime totals.
    void tenThousandFilesAreShreddedWithCorrectTotals()
    {
        QStringList files;
        for (int i = 0; i < 10000; ++i) {
            files.append(world->file(
                QStringLiteral("tree/d%1/e%2/f%3").arg(i % 20).arg(i % 7).arg(i), i % 3000));
        }
        const quint64 fileBytes = settledSize(files);
        const QString tree = world->root + "/tree";

        // The main window measures a list when it shows it filled, and keeps the count.
        SizeMeasurement sizes;
        rig->window.onLog = [&](const QString& line) {
            if (line.startsWith("filled 1")) {
                sizes.addMeasurement(rig->lists.filePathsArr(1), 1);
            }
        };
        std::atomic<quint64> measuredFiles = 0;
        const auto token = NotificationCenter::defaultCenter().addObserver(
            kSizeLoadDidFinish, [&](const Notification& n) {
                measuredFiles = n.object.value<SizeLoadDic>().scanTotalFilesCount;
            });
        QMimeData drag;
        drag.setUrls({QUrl::fromLocalFile(tree)});
        rig->lists.dropViewDidGetDropWithPasteboard(1, {}, drag);
        QTRY_COMPARE_WITH_TIMEOUT(measuredFiles.load(), quint64(10000), 60000);
        NotificationCenter::defaultCenter().removeObserver(token);
        rig->lists.setTotalFilesPassCountNum(1, measuredFiles);

        rig->runs.shredFiles(rig->lists.pathsDicsForEditVC(), false);
        QTRY_COMPARE_WITH_TIMEOUT(rig->window.linesStartingWith("hud"),
                                  QStringList{"hud 3 1-pass shredding is complete!"}, 500000);

        QVERIFY(!QFileInfo::exists(tree));
        QCOMPARE(rig->lists.filePathsArr(1), QStringList());
        QCOMPARE(rig->window.linesStartingWith("ring").last(), QString("ring 1 1"));
        const TotalShredInfoDic totals = *Utils::getTotalShredInfoDic();
        QCOMPARE(totals.shredFilesCount.value_or(0), quint64(10000));
        QCOMPARE(totals.shredDataSize.value_or(0), fileBytes);
    }

private:
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
