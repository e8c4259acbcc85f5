#include "../LoopImage.h"
#include "EngineTestRig.h"
#include "engine/UtilsSettings.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

// A user of the test's own, gone with the object. Needs root.
struct ThrowawayUser {
    const QString name = QStringLiteral("tolvextest%1").arg(getpid());
    const bool made = runTool("useradd", {"-M", "-N", "-s", "/bin/sh", name});
    ~ThrowawayUser()
    {
        if (made)
            runTool("userdel", {name});
    }
    bool run(const QString& folder, const QString& script) const
    {
        return runTool("runuser",
                       {"-u", name, "--", "sh", "-c", "cd '" + folder + "' && " + script});
    }
};

} // namespace

class TestSecureEmptyTrash : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        fx = std::make_unique<EngineFixture>();
        root = fx->world.root;
        uid = QString::number(getuid());
        homeTrash = fx->world.home + "/.local/share/Trash";
        ::umask(022);
        // The home folder sits on a volume of its own inside the outer one.
        MountedVolumes::setForTesting(QList<MountedVolume>{{root, "root"},
                                                           {root + "/home", "home"},
                                                           {root + "/vol", "vol"},
                                                           {root + "/vol2", "vol2"}});
    }
    void cleanup() { fx.reset(); }

    void everyVolumesTrashIsShreddedInOneRunAndItsInfoGoes()
    {
        const QString outside = fx->world.file("outside/target");
        for (const char* item : {"a.txt", ".hidden", "folder/inner", "caf\xe9"})
            trashed(homeTrash, item);
        fx->world.link("home/.local/share/Trash/files/link", outside);
        fx->world.file("home/.local/share/Trash/info/link.trashinfo");
        // The folder-size cache names trashed folders, percent-encoded.
        std::ofstream(toNativePath(homeTrash + "/directorysizes"))
            << "9 1 folder\n5 1 kept%20one\n1 1 caf%E9\n";
        QCOMPARE(chmod(QFile::encodeName(fx->world.folder("vol/.Trash")).constData(), 01777), 0);
        // Anyone may write to this top folder, but its sticky bit keeps each entry to its owner.
        QCOMPARE(chmod(QFile::encodeName(root + "/vol").constData(), 01777), 0);
        trashed(root + "/vol/.Trash/" + uid, "x");
        trashed(root + "/vol/.Trash-" + uid, "y");
        trashed(root + "/.Trash-" + uid, "w");
        trashed(root + "/home/.Trash-" + uid, "v");
        // A shared Trash without the sticky bit may have been set up by anyone: not ours.
        trashed(root + "/vol2/.Trash/" + uid, "z");
        fx->rig.lists.setFilePathsArr(7, {fx->world.file("listed")});

        fx->rig.trash.secureEmptyTrashAction(7);
        QTRY_COMPARE(fx->rig.window.linesStartingWith("hud"),
                     QStringList{"hud 3 7-pass shredding is complete!"});
        GlobalQueue::waitForDone();
        QCOMPARE(fx->rig.window.linesStartingWith("sheet"),
                 QStringList{refusedSheet(root + "/vol2/.Trash: it lacks the sticky bit")});

        // One launch, volume after volume: the home Trash's items in any order.
        QStringList arguments = fx->script.launches().join(u'\n').split(u'\t');
        QCOMPARE(arguments.size(), 9);
        std::sort(arguments.begin() + 2, arguments.begin() + 7);
        const QString files = homeTrash + "/files/";
        QCOMPARE(arguments, QStringList({"-frmv", root + "/.Trash-" + uid + "/files/w",
                                         files + ".hidden", files + "a.txt",
                                         files + decodeNativePath("caf\xe9"), files + "folder",
                                         files + "link", root + "/vol/.Trash/" + uid + "/files/x",
                                         root + "/vol/.Trash-" + uid + "/files/y"}));
        QFile sizes(homeTrash + "/directorysizes");
        QVERIFY(sizes.open(QIODevice::ReadOnly));
        QCOMPARE(sizes.readAll(), QByteArray("5 1 kept%20one\n"));

        QCOMPARE(fx->rig.window.log.last(), QString("exited 7 size=1"));
        QCOMPARE(fx->rig.lists.filePathsArr(7), QStringList{root + "/listed"});

        QVERIFY(QFile::exists(outside));
        for (const QString& emptied :
             {homeTrash + "/files", homeTrash + "/info", root + "/vol/.Trash-" + uid + "/info"})
            QVERIFY(std::filesystem::is_empty(toNativePath(emptied)));
        QVERIFY(QFile::exists(root + "/vol2/.Trash/" + uid + "/files/z"));
        QVERIFY(QFile::exists(root + "/home/.Trash-" + uid + "/files/v"));
    }

    // A Trash anyone else could have made or could change is left whole, never followed through
    // a link, and the sheet says which and why. UID stands for the user's id.
    void aTrashThatIsNotTheUsersAloneIsLeftWholeAndReported_data()
    {
        QTest::addColumn<QString>("trash");
        QTest::addColumn<QString>("altered"); // made a link to where it was moved, or chmod-ed
        QTest::addColumn<int>("mode");        // 0: made a link
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("reason");
        const QString own = "vol/.Trash-UID", shared = "vol/.Trash/UID";
        const QString home = "home/.local/share/Trash", link = "it is a link";
        QTest::newRow("own Trash a link") << own << own << 0 << own << link;
        QTest::newRow("its files a link") << own << own + "/files" << 0 << own + "/files" << link;
        QTest::newRow("its info a link") << own << own + "/info" << 0 << own + "/info" << link;
        QTest::newRow("shared Trash a link") << shared << "vol/.Trash" << 0 << "vol/.Trash" << link;
        QTest::newRow("user's folder a link") << shared << shared << 0 << shared << link;
        QTest::newRow("home Trash a link") << home << home << 0 << home << link;
        QTest::newRow("home files a link")
            << home << home + "/files" << 0 << home + "/files" << link;
        QTest::newRow("writable by the group")
            << own << own << 0775 << own << "other users may change it";
        QTest::newRow("renamable by others")
            << own << "vol" << 0777 << own << "other users may replace it";
    }

    void aTrashThatIsNotTheUsersAloneIsLeftWholeAndReported()
    {
        QFETCH(QString, trash);
        QFETCH(QString, altered);
        QFETCH(int, mode);
        const auto inRoot = [&](QString relative) {
            return root + "/" + relative.replace("UID", uid);
        };
        trashed(inRoot(trash), "item");
        chmod(QFile::encodeName(inRoot("vol/.Trash")).constData(), 01777);
        const QString moved = root + "/moved";
        if (mode == 0) {
            QVERIFY(QDir().rename(inRoot(altered), moved));
            QVERIFY(QFile::link(moved, inRoot(altered)));
        } else {
            QCOMPARE(chmod(QFile::encodeName(inRoot(altered)).constData(), mode), 0);
        }

        fx->rig.trash.secureEmptyTrashAction(1);
        GlobalQueue::waitForDone();
        QFETCH(QString, refused);
        QFETCH(QString, reason);
        QCOMPARE(fx->rig.window.log, QStringList{refusedSheet(inRoot(refused) + ": " + reason)});
        QCOMPARE(fx->script.launches(), QStringList());
        QVERIFY(QFile::exists(inRoot(trash) + "/files/item"));
        QVERIFY(QFile::exists(inRoot(trash) + "/info/item.trashinfo"));
    }

    // On a volume whose top folder anyone may write, another user makes Trash folders in the
    // user's name and fills them: none of it is shredded.
    void anotherUsersTrashOnASharedVolumeIsLeftAlone()
    {
        if (const QString why = LoopImage::skipReason(); !why.isEmpty())
            QSKIP(qPrintable(why));
        const ThrowawayUser attacker;
        QVERIFY(attacker.made);
        LoopImage volume(root + "/volume.img", root + "/shared", 16);
        QVERIFY2(volume.isMounted(), volume.error().constData());
        QCOMPARE(chmod(QFile::encodeName(root).constData(), 0755), 0);
        QCOMPARE(chmod(QFile::encodeName(volume.mountPoint()).constData(), 01777), 0);
        const QString own = ".Trash-" + uid + "/files", shared = ".Trash/" + uid + "/files";
        const QStringList plant{"mkdir -p " + own, "mkdir -m 1777 .Trash", "mkdir -p " + shared,
                                "touch " + own + "/planted " + shared + "/planted"};
        QVERIFY(attacker.run(volume.mountPoint(), plant.join(" && ")));
        MountedVolumes::setForTesting(QList<MountedVolume>{{volume.mountPoint(), "shared"}});

        fx->rig.trash.secureEmptyTrashAction(1);
        GlobalQueue::waitForDone();
        const QString notOwn = ": it belongs to another user";
        QCOMPARE(fx->rig.window.log,
                 QStringList{refusedSheet(volume.path(".Trash/" + uid) + notOwn + "\n" +
                                          volume.path(".Trash-" + uid) + notOwn)});
        QCOMPARE(fx->script.launches(), QStringList());
        QVERIFY(QFile::exists(volume.path(own + "/planted")) &&
                QFile::exists(volume.path(shared + "/planted")));
    }

    // A sender without a pass shreds with 1 pass and stores that choice; with a default method
    // the trash button shreds at once, without the popover (which the window's tests toggle).
    void senderWithoutPassAndTheDefaultMethod()
    {
        trashed(homeTrash, "a");
        fx->rig.trash.secureEmptyTrashAction(0);
        QTRY_COMPARE(fx->rig.window.linesStartingWith("hud"),
                     QStringList{"hud 3 Secure Empty Trash is compete!"});
        const auto methodKey = Utils::DefaultsKey::selectedDefShredMethodInd;
        QCOMPARE(UserDefaults::standard().objectForKey(methodKey).toString(), QString("0"));

        trashed(homeTrash, "b");
        Utils::defShredMethodInd(2);
        UserDefaults::standard().setBool(Utils::DefaultsKey::defaultShreddingEnbled, true);
        fx->rig.trash.secureEmptyShowPop(nullptr, 0);
        QTRY_COMPARE(fx->rig.window.linesStartingWith("hud").last(),
                     QString("hud 3 35-pass shredding is complete!"));
        GlobalQueue::waitForDone();
        QCOMPARE(fx->script.launches().replaceInStrings(QRegularExpression("\t.*"), ""),
                 QStringList({"-frsv", "-frv"}));
        QVERIFY(fx->rig.window.linesStartingWith("popover").isEmpty());
    }

    // A busy method drops the Trash run silently; an item the helper left keeps its info.
    void aBusyMethodDropsTheTrashRunAndAFailedOneKeepsWhatIsLeft()
    {
        trashed(homeTrash, "a");
        const QString listed = fx->world.file("listed");
        fx->script.set({"hang"});
        std::thread busy([&] {
            fx->rig.runs.runShreddingPass35WithParams({"-frv", listed}, {{listed, "listed", 35}},
                                                      false);
        });
        QTRY_VERIFY(fx->rig.tasks.shredTask(35) && fx->rig.tasks.shredTask(35)->isRunning());
        fx->rig.trash.secureEmptyTrashAction(35);
        GlobalQueue::waitForDone();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        QCOMPARE(fx->script.launches().size(), 1);
        QVERIFY(fx->rig.window.linesStartingWith("hud").isEmpty() &&
                QFile::exists(homeTrash + "/files/a"));
        fx->rig.tasks.terminate(35);
        QTRY_VERIFY(!fx->rig.tasks.isShredding(35));
        busy.join();

        trashed(homeTrash, "gone");
        fx->script.set({"remove " + homeTrash + "/files/gone", "exit 1"});
        fx->rig.window.log.clear();
        fx->rig.trash.secureEmptyTrashAction(1);
        QTRY_VERIFY(!fx->rig.window.linesStartingWith("empty").isEmpty());
        GlobalQueue::waitForDone();
        QVERIFY(QFile::exists(homeTrash + "/info/a.trashinfo"));
        QVERIFY(!QFile::exists(homeTrash + "/info/gone.trashinfo"));
        QVERIFY(fx->rig.window.linesStartingWith("hud").isEmpty());
    }

private:
    static QString refusedSheet(const QString& lines)
    {
        return "sheet Some Trash was left alone | Only a Trash that is yours alone is shredded."
               "\n\n" +
               lines + " | OK";
    }

    // Puts an item (a file, or a file inside a folder) into the Trash at `trash`, with its info.
    // Its name is bytes, text or not.
    void trashed(const QString& trash, const QByteArray& relative)
    {
        const QString path = trash + "/files/" + decodeNativePath(relative);
        QDir().mkpath(path.section(u'/', 0, -2));
        QDir().mkpath(trash + "/info");
        std::ofstream(toNativePath(path)).flush();
        const QString item = decodeNativePath(relative.split('/').first());
        std::ofstream(toNativePath(trash + "/info/" + item + ".trashinfo"))
            << "[Trash Info]\nPath=/somewhere\nDeletionDate=2024-01-01T00:00:00\n";
    }

    std::unique_ptr<EngineFixture> fx;
    QString root, uid, homeTrash;
};

QTEST_GUILESS_MAIN(TestSecureEmptyTrash)
#include "test_secureemptytrash.moc"
