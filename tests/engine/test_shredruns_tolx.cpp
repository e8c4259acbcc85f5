#include "EngineTestRig.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsSettings.h"

#include <QDirIterator>

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

    void oneListIsShreddedAndEmptied()
    {
        const QString a = world->file("a", 10000);
        const QString f = world->folder("F");
        world->file("F/one", 3000);
        world->file("F/sub/.two", 5);
        const quint64 bytes = Utils::fileSizeAtPath(a) + Utils::fileSizeAtPath(f + "/one") +
                              Utils::fileSizeAtPath(f + "/sub/.two");
        rig->lists.setFilePathsArr(7, {f, a});
        rig->runs.shredFiles(rig->lists.pathsDicsForEditVC(), false);
        QTRY_COMPARE_WITH_TIMEOUT(rig->window.linesStartingWith("hud"),
                                  QStringList{"hud 3 7-pass shredding is complete!"}, 60000);
        QCOMPARE(rig->window.log.last(), QString("empty 7"));
        QVERIFY(!QFileInfo::exists(a) && !QFileInfo::exists(f));
        QCOMPARE(rig->lists.filePathsArr(7), QStringList());
        QCOMPARE(rig->window.linesStartingWith("ring").last(), QString("ring 7 1"));
        const TotalShredInfoDic totals = *Utils::getTotalShredInfoDic();
        QCOMPARE(totals.shredFilesCount, quint64(3));
        QCOMPARE(totals.shredDataSize, bytes);
    }

    void threeListsShredAtOnce()
    {
        rig->lists.setFilePathsArr(1, {world->file("one/a"), world->file("one/b")});
        rig->lists.setFilePathsArr(7, {world->file("seven/c")});
        rig->lists.setFilePathsArr(35, {world->file("thirtyfive/d", 50000)});
        rig->runs.shredFiles(rig->lists.pathsDicsForEditVC(), false);
        QTRY_COMPARE_WITH_TIMEOUT(rig->window.linesStartingWith("hud").size(), 3, 120000);
        QStringList huds = rig->window.linesStartingWith("hud");
        huds.sort();
        QCOMPARE(huds, QStringList({"hud 3 1-pass shredding is complete!",
                                    "hud 3 35-pass shredding is complete!",
                                    "hud 3 7-pass shredding is complete!"}));
        for (const char* folder : {"one", "seven", "thirtyfive"}) {
            QCOMPARE(QDir(world->root + "/" + folder).entryList(QDir::Files), QStringList());
        }
        QCOMPARE(filesDone(), quint64(4));
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
        QStringList paths;
        for (int i = 0; i < 4001; ++i) {
            paths.append(world->file(QStringLiteral("many/f%1").arg(i), 0));
        }
        rig->lists.setFilePathsArr(1, paths);
        rig->runs.shredFiles(rig->lists.pathsDicsForEditVC(), false);
        QTRY_COMPARE_WITH_TIMEOUT(rig->window.linesStartingWith("hud").size(), 2, 240000);
        GlobalQueue::waitForDone();
        QCOMPARE(rig->window.linesStartingWith("hud"),
                 QStringList({"hud 3 1-pass shredding is complete!",
                              "hud 3 1-pass shredding is complete!"}));
        QCOMPARE(QDir(world->root + "/many").entryList(QDir::Files), QStringList());
        QCOMPARE(filesDone(), quint64(4001));
    }

    void aMissingItemIsLeftOutAndTheRestShredded()
    {
        const QString a = world->file("a");
        const QString gone = world->root + "/gone";
        rig->lists.setFilePathsArr(1, {gone, a});
        rig->runs.shredFiles(rig->lists.pathsDicsForEditVC(), false);
        QTRY_COMPARE_WITH_TIMEOUT(rig->window.linesStartingWith("hud"),
                                  QStringList{"hud 3 1-pass shredding is complete!"}, 60000);
        QVERIFY(!QFileInfo::exists(a));
        QCOMPARE(filesDone(), quint64(1));
    }

private:
    std::unique_ptr<TestWorld> world;
    std::unique_ptr<EngineRig> rig;
};

QTEST_GUILESS_MAIN(TestShredRunsTolx)
#include "test_shredruns_tolx.moc"
