#include "EngineTestRig.h"

#include <QMimeData>
#include <QUrl>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

std::unique_ptr<QMimeData> dragOf(const QStringList& paths)
{
    auto mime = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls.append(QUrl::fromLocalFile(path));
    }
    mime->setUrls(urls);
    return mime;
}

} // namespace

class TestShredLists : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        world = std::make_unique<TestWorld>();
        rig = std::make_unique<EngineRig>(fakeHelperPath());
        r = world->root;
    }
    void cleanup()
    {
        rig.reset();
        world.reset();
    }

    void siblingWithCommonPrefixIsNotCovered()
    {
        rig->lists.setFilePathsArr(1, {r + "/Doc"});
        rig->lists.dropViewDidGetDropWithPasteboard(7, {}, *dragOf({r + "/Docs/x"}));
        QCOMPARE(rig->lists.filePathsArr(7), QStringList{r + "/Docs/x"});
        QCOMPARE(rig->window.log, QStringList{"filled 7 [" + r + "/Docs/x] refresh=0 size=1"});

        rig->window.log.clear();
        rig->lists.setFilePathsArr(35, {r + "/Docs"});
        rig->lists.dropViewDidGetDropWithPasteboard(1, {}, *dragOf({r + "/Docs/y/z"}));
        QCOMPARE(rig->lists.filePathsArr(1), QStringList{r + "/Doc"});
        QCOMPARE(rig->window.log, QStringList{"exited 1 size=0"});
    }

    void droppedFolderTakesOverListedEntriesInsideIt()
    {
        rig->lists.setFilePathsArr(1, {r + "/F/b", r + "/c"});
        rig->lists.setFilePathsArr(35, {r + "/F/deep/d"});
        rig->lists.dropViewDidGetDropWithPasteboard(7, {}, *dragOf({r + "/F"}));

        QCOMPARE(rig->lists.filePathsArr(1), QStringList{r + "/c"});
        QCOMPARE(rig->lists.filePathsArr(7), QStringList{r + "/F"});
        QCOMPARE(rig->lists.filePathsArr(35), QStringList());
        QCOMPARE(rig->window.log,
                 QStringList({"filled 1 [" + r + "/c] refresh=1 size=1",
                              "filled 7 [" + r + "/F] refresh=0 size=1", "empty 35"}));
    }

    void ofNestedPathsDroppedTogetherOnlyTheOuterStays()
    {
        rig->lists.dropViewDidGetDropWithPasteboard(1, {}, *dragOf({r + "/F", r + "/F/x"}));
        QCOMPARE(rig->lists.filePathsArr(1), QStringList{r + "/F"});
        QCOMPARE(rig->window.log,
                 QStringList({"filled 1 [" + r + "/F] refresh=0 size=1", "empty 7", "empty 35"}));
    }

    void duplicateAlertNamesTheListHoldingIt()
    {
        rig->lists.setFilePathsArr(35, {r + "/p"});
        rig->lists.dropViewDidGetDropWithPasteboard(7, {}, *dragOf({r + "/p", r + "/q"}));
        QCOMPARE(rig->lists.filePathsArr(7), QStringList{r + "/q"});
        QCOMPARE(rig->window.log.first(), "hud 0 Already added to \n35-pass \nshredding list");

        rig->window.log.clear();
        rig->lists.dropViewDidGetDropWithPasteboard(1, {}, *dragOf({r + "/q"}));
        QCOMPARE(rig->window.log, QStringList({"hud 0 Already added to \n7-pass \nshredding list",
                                               "exited 1 size=0"}));
        QCOMPARE(rig->lists.filePathsArr(1), QStringList());
    }

    void mergePutsNewPathsFirstThenVolumeChildrenThenOldEntries()
    {
        world->file("media/Data/a");
        world->file("media/Data/.hidden");
        const QString outside = world->file("outside/secret");
        QVERIFY(QFile::link(outside, r + "/media/Data/link"));
        MountedVolumes::setForTesting(QList<MountedVolume>{{r + "/media/Data", "Data"}});

        rig->lists.setFilePathsArr(7, {r + "/o1", r + "/o2"});
        const auto merged = rig->lists.arrOfFilePathsFromDropView(
            7, {r + "/n1", r + "/media/Data", r + "/n2", r + "/o2"});
        QVERIFY(merged);
        QCOMPARE(merged->mid(0, 2), QStringList({r + "/n1", r + "/n2"}));
        // The children keep the file system's order; the link is listed as itself.
        QStringList children = merged->mid(2, 2);
        children.sort();
        QCOMPARE(children, QStringList({r + "/media/Data/a", r + "/media/Data/link"}));
        QCOMPARE(merged->mid(4), QStringList({r + "/o1", r + "/o2"}));
        QCOMPARE(rig->lists.filePathsArr(7), *merged);
        QCOMPARE(rig->window.log, QStringList{"hud 0 Already added to \n7-pass \nshredding list"});

        // Only the name counts: a folder named like a volume is expanded too; one without
        // visible children leaves nothing, silently.
        world->file("elsewhere/Data/z");
        world->file("elsewhere/Empty/.z");
        MountedVolumes::setForTesting(
            QList<MountedVolume>{{"/media/u/Data", "Data"}, {"/media/u/Empty", "Empty"}});
        QCOMPARE(rig->lists.arrOfFilePathsFromDropView(1, {r + "/elsewhere/Data"}),
                 std::optional<QStringList>(QStringList{r + "/elsewhere/Data/z"}));
        QCOMPARE(rig->lists.arrOfFilePathsFromDropView(35, {r + "/elsewhere/Empty"}), std::nullopt);

        // The real root volume has no name a folder could match.
        MountedVolumes::setForTesting(std::nullopt);
        const QList<MountedVolume> volumes = MountedVolumes::mountedVolumes();
        QVERIFY(std::any_of(volumes.begin(), volumes.end(), [](const MountedVolume& v) {
            return v.path == "/" && v.name.isEmpty();
        }));
    }

    void protectedLocations_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("isProtected");
        QTest::newRow("top level") << "/etc" << true;
        QTest::newRow("the root") << "/" << true;
        QTest::newRow("Documents") << "HOME/Documents" << true;
        QTest::newRow("Downloads") << "HOME/Downloads" << true;
        QTest::newRow("directly in home") << "HOME/notes.txt" << true;
        QTest::newRow("deeper in home") << "HOME/Documents/notes.txt" << false;
        QTest::newRow("programs") << "/usr/share/x" << true;
        QTest::newRow("hidden") << "ROOT/.secret" << true;
        QTest::newRow("missing hidden") << "ROOT/.gone" << false;
        QTest::newRow("ordinary") << "ROOT/work/file" << false;
    }

    void protectedLocations()
    {
        QFETCH(QString, path);
        QFETCH(bool, isProtected);
        world->file(".secret");
        path.replace("HOME", world->home).replace("ROOT", r);
        QCOMPARE(rig->lists.isPathInProtectedLocation(path), isProtected);
    }

    void aDropOfProtectedPathsOnlyIsRefused()
    {
        world->file(".secret");
        rig->lists.setFilePathsArr(7, {r + "/kept"});
        rig->lists.dropViewDidGetDropWithPasteboard(
            7, {},
            *dragOf({world->home + "/Documents", world->home + "/a.txt", "/usr/bin/x",
                     r + "/.secret"}));
        QCOMPARE(rig->window.log,
                 QStringList(
                     {"hud 0 Shredding of this file/folder is not allowed\n", "exited 7 size=0"}));
        QCOMPARE(rig->lists.filePathsArr(7), QStringList{r + "/kept"});
    }

    void aDropIsRefusedWhileTheListShreds()
    {
        QVERIFY(rig->tasks.beginChunk(7, std::make_shared<Task>("/bin/true", QStringList()), true));
        rig->lists.dropViewDidGetDropWithPasteboard(7, {}, *dragOf({r + "/x"}));
        QCOMPARE(
            rig->window.log,
            QStringList{
                "hud 0 Adding files to this shredding task is not allowed while it's running"});
        QCOMPARE(rig->lists.filePathsArr(7), QStringList());
        rig->tasks.launchAttempted(7);
        rig->tasks.endChunk(7, false);
    }

    void aDragWithoutLocalFileNamesIsIgnored()
    {
        QMimeData text;
        text.setText("hello");
        rig->lists.dropViewDidGetDropWithPasteboard(1, {}, text);
        QMimeData remote;
        remote.setUrls({QUrl::fromLocalFile(r + "/a"), QUrl("https://example.invalid/b")});
        rig->lists.dropViewDidGetDropWithPasteboard(1, {}, remote);
        QVERIFY(rig->window.log.isEmpty());
        QCOMPARE(rig->lists.filePathsArr(1), QStringList());
    }

    void recordsAreSortedByNameWithinEachList()
    {
        rig->lists.setFilePathsArr(1, {"/x/b", "/x/A"});
        rig->lists.setFilePathsArr(35, {"/x/c"});
        const ShredEntryDics records = rig->lists.pathsDicsForEditVC();
        QCOMPARE(records, ShredEntryDics({{"/x/A", "A", 1}, {"/x/b", "b", 1}, {"/x/c", "c", 35}}));
    }

    void editorRemovals()
    {
        rig->lists.setFilePathsArr(1, {"/x/a", "/x/b"});
        rig->lists.setFilePathsArr(7, {"/x/c"});
        const ShredEntryDics removed{{"/x/a", "a", 1}, {"/x/c", "c", 7}};

        rig->lists.editFPathsAction(1, removed);
        QVERIFY(rig->window.log.isEmpty());
        rig->lists.editFPathsAction(0, {});
        QCOMPARE(rig->window.log, QStringList{"overlay close"});

        rig->window.log.clear();
        rig->lists.editFPathsAction(0, removed);
        QCOMPARE(rig->window.log,
                 QStringList({"filled 1 [/x/b] refresh=1 size=1", "empty 7", "empty 35", "empty 7",
                              "empty 35", "overlay close"}));
        QCOMPARE(rig->lists.filePathsArr(1), QStringList{"/x/b"});
        QCOMPARE(rig->lists.filePathsArr(7), QStringList());
    }

    void editorStopsAtTheFirstRecordOfAShreddingList()
    {
        rig->lists.setFilePathsArr(1, {"/x/a"});
        rig->lists.setFilePathsArr(7, {"/x/c", "/x/d"});
        QVERIFY(rig->tasks.beginChunk(7, std::make_shared<Task>("/bin/true", QStringList()), true));
        rig->lists.editFPathsAction(0, {{"/x/c", "c", 7}, {"/x/a", "a", 1}});
        QCOMPARE(rig->window.log, QStringList{"overlay close"});
        QCOMPARE(rig->lists.filePathsArr(7), QStringList({"/x/c", "/x/d"}));
        rig->tasks.launchAttempted(7);
        rig->tasks.endChunk(7, false);
    }

private:
    std::unique_ptr<TestWorld> world;
    std::unique_ptr<EngineRig> rig;
    QString r;
};

QTEST_GUILESS_MAIN(TestShredLists)
#include "test_shredlists.moc"
