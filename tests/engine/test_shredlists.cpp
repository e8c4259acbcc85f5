#include "../LoopImage.h"
#include "EngineTestRig.h"
#include "engine/ListId.h"
#include "engine/UtilsFileSystem.h"
#include "engine/UtilsVolumes.h"

#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>

using namespace tolvex;
using namespace tolvex::testing;

static std::unique_ptr<QMimeData> dragOf(QStringList paths)
{
    auto mime = std::make_unique<QMimeData>();
    mime->setUrls(
        QUrl::fromStringList(paths.replaceInStrings(QRegularExpression("^/"), "file:///")));
    return mime;
}

class TestShredLists : public QObject {
    Q_OBJECT

    // In the tables "R/" and "H/" stand for the world's root and home folders.
    QString real(QString text) const
    {
        static const QRegularExpression root("\\bR/"), home("\\bH/");
        return text.replace(root, fx->world.root + "/").replace(home, fx->world.home + "/");
    }
    // The lists as "1[a,b] 7[] 35[c]".
    QString lists() const
    {
        QStringList shown;
        for (const qint64 id : kListIds)
            shown << QStringLiteral("%1[%2]").arg(id).arg(fx->rig.lists.filePathsArr(id).join(','));
        return shown.join(' ');
    }

private Q_SLOTS:
    void init() { fx = std::make_unique<EngineFixture>(); }
    void cleanup() { fx.reset(); }

    void drops_data()
    {
        for (const char* column : {"before", "zone", "dropped", "after", "painted"})
            QTest::addColumn<QString>(column);
        // The lists, the zone, the dropped paths, the lists after and the painted lines apart by
        // "|", all apart by " ; ".
        const auto row = [](const char* name, const QString& fields) {
            QTestData& data = QTest::newRow(name);
            for (const QString& field : fields.split(" ; "))
                data << field;
        };
        row("a sibling with a common prefix does not cover",
            "1[R/Doc] ; 7 ; R/Docs/x ; 1[R/Doc] 7[R/Docs/x] 35[] ; filled 7 [R/Docs/x] refresh=0 "
            "size=1");
        row("a listed folder covers what is inside it",
            "35[R/Docs] ; 1 ; R/Docs/y/z ; 1[] 7[] 35[R/Docs] ; exited 1 size=0");
        row("a dropped folder takes over the entries inside it",
            "1[R/F/b,R/c] 35[R/F/deep/d] ; 7 ; R/F ; 1[R/c] 7[R/F] 35[] ; filled 1 [R/c] "
            "refresh=1 size=1|filled 7 [R/F] refresh=0 size=1|empty 35");
        row("of nested paths dropped together the outer stays",
            " ; 1 ; R/F R/F/x ; 1[R/F] 7[] 35[] ; filled 1 [R/F] refresh=0 size=1|empty 7|empty "
            "35");
        row("duplicates are named once by the list holding them",
            "35[R/p,R/o] ; 7 ; R/p R/o R/q ; 1[] 7[R/q] 35[R/p,R/o] ; hud 0 Already added to \n35-"
            "pass \nshredding list|filled 7 [R/q] refresh=0 size=1");
        row("new paths first, then the old ones once each",
            "1[R/b,R/b,R/c] ; 1 ; R/a R/a R/b ; 1[R/a,R/a,R/b,R/c] 7[] 35[] ; hud 0 Already added "
            "to \n1-pass \nshredding list|filled 1 [R/a,R/a,R/b,R/c] refresh=0 size=1");
        row("protected paths only",
            "7[R/kept] ; 7 ; / /etc H/Documents H/a.txt /usr/bin/x R/.secret ; 1[] 7[R/kept] 35[] "
            "; hud 0 Shredding of this file/folder is not allowed\n|exited 7 size=0");
        row("paths beside protected ones",
            " ; 1 ; H/Documents/a R/.gone R/b ; 1[H/Documents/a,R/.gone,R/b] 7[] 35[] ; filled 1 "
            "[H/Documents/a,R/.gone,R/b] refresh=0 size=1");
        row("a drag with a remote item", " ; 1 ; R/a https://example.invalid/b ; 1[] 7[] 35[] ; ");
        row("a direct child is covered too",
            "35[R/Docs] ; 1 ; R/Docs/y ; 1[] 7[] 35[R/Docs] ; exited 1 size=0");
        // The helper reads NUL-separated paths: this one would be three, /etc among them.
        row("a NUL byte", " ; 1 ; R/junk.txt%00/etc%00junk.txt ; 1[] 7[] 35[] ; hud 0 Shredding of "
                          "this file/folder is not allowed\n|exited 1 size=0");
        row("the rules see and the list keeps the cleaned path",
            "35[R/Docs] ; 7 ; R//Docs/../a/./b/ H//Documents R/Docs/x/../../Docs/y H/Music/.. ; "
            "1[] 7[R/a/b] 35[R/Docs] ; filled 7 [R/a/b] refresh=0 size=1");
        row("the home folder and those above it",
            " ; 1 ; H/ H/.. / ; 1[] 7[] 35[] ; hud 0 Shredding of this file/folder is not "
            "allowed\n|exited 1 size=0");
    }

    void drops()
    {
        QFETCH(QString, before);
        QFETCH(QString, dropped);
        fx->world.file(".secret");
        static const QRegularExpression list(R"((\d+)\[([^\]]*)\])");
        for (const auto& match : list.globalMatch(real(before)))
            fx->rig.lists.setFilePathsArr(match.captured(1).toLongLong(),
                                          match.captured(2).split(',', Qt::SkipEmptyParts));
        QFETCH(QString, zone);
        if (const auto names = Utils::fileNamesOfPasteboard(*dragOf(real(dropped).split(' '))))
            fx->rig.lists.dropViewDidGetDropWithPasteboard(zone.toLongLong(), {}, *names);
        QFETCH(QString, after);
        QCOMPARE(lists(), real(after));
        QFETCH(QString, painted);
        QCOMPARE(fx->rig.window.log, real(painted).split('|', Qt::SkipEmptyParts));
    }

    // Only a mount point itself is a volume: a file or folder named like one, as Linux mounts
    // often are ("home", "boot", a stick's label), is listed as itself. A volume gives way to its
    // visible top-level items, after the other new paths; the list's entries follow.
    void anItemNamedLikeAVolumeIsListedAsItself()
    {
        if (const QString reason = LoopImage::skipReason(); !reason.isEmpty())
            QSKIP(qPrintable(reason));
        const QString r = fx->world.root;
        LoopImage stick(r + "/stick.img", r + "/mnt/Data", 16);
        QVERIFY2(stick.isMounted(), stick.error());
        fx->world.file("mnt/Data/a");
        fx->world.file("elsewhere/Data/z");
        fx->world.file("file/Data");
        MountedVolumes::setForTesting(std::nullopt);
        QVERIFY(!Utils::checkIfPathIsAVolume("/", Utils::volumeMountPoints()));
        fx->rig.lists.setFilePathsArr(1, {r + "/old"});

        const auto merged = fx->rig.lists.arrOfFilePathsFromDropView(
            1, {r + "/elsewhere/Data", r + "/mnt/Data/", r + "/file/Data"});
        QStringList got = merged.value_or(QStringList()); // the items in the file system's order
        std::sort(got.begin() + 2, got.begin() + 4);
        QCOMPARE(got, QStringList({r + "/elsewhere/Data", r + "/file/Data", r + "/mnt/Data/a",
                                   r + "/mnt/Data/lost+found", r + "/old"}));
    }

    // The editor's records go by name within each list. Index 1 changes nothing, no records only
    // close, each list is redrawn once; a shredding list refuses drops and stops the removals.
    // What was taken off can be dropped again.
    void editorRemovals()
    {
        fx->rig.lists.setFilePathsArr(1, {"/x/b", "/x/a"});
        fx->rig.lists.setFilePathsArr(7, {"/x/c"});
        QCOMPARE(fx->rig.lists.pathsDicsForEditVC(),
                 ShredEntryDics({{"/x/a", "a", 1}, {"/x/b", "b", 1}, {"/x/c", "c", 7}}));
        const ShredEntryDics removed{{"/x/c", "c", 7}, {"/x/a", "a", 1}, {"/x/a", "a", 1}};
        fx->rig.lists.editFPathsAction(1, removed);
        fx->rig.lists.editFPathsAction(0, {});
        QVERIFY(
            fx->rig.tasks.beginChunk(7, std::make_shared<Task>("/bin/true", QStringList()), true));
        fx->rig.lists.dropViewDidGetDropWithPasteboard(7, {}, {fx->world.root + "/x"});
        fx->rig.lists.editFPathsAction(0, removed);
        QCOMPARE(lists(), "1[/x/b,/x/a] 7[/x/c] 35[]");
        fx->rig.tasks.launchAttempted(7);
        fx->rig.tasks.endChunk(7, false);
        fx->rig.lists.editFPathsAction(0, removed);
        QCOMPARE(
            fx->rig.window.log,
            QStringList({"overlay close",
                         "hud 0 Adding files to this shredding task is not allowed while "
                         "it's running",
                         "overlay close", "empty 7", "empty 35", "filled 1 [/x/b] refresh=1 size=1",
                         "empty 7", "empty 35", "overlay close"}));
        QVERIFY(fx->rig.lists.arrOfFilePathsFromDropView(35, {"/x/a", "/x/c"}));
        QCOMPARE(lists(), "1[/x/b] 7[] 35[/x/a,/x/c]");
    }

private:
    std::unique_ptr<EngineFixture> fx;
};

QTEST_GUILESS_MAIN(TestShredLists)
#include "test_shredlists.moc"
