#include "EngineTestRig.h"
#include "engine/UtilsSettings.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace tolvex;
using namespace tolvex::testing;

class TestSecureEmptyTrash : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        fx = std::make_unique<EngineFixture>();
        root = fx->world.root;
        uid = QString::number(getuid());
        homeTrash = fx->world.home + "/.local/share/Trash";
        MountedVolumes::setForTesting(
            QList<MountedVolume>{{root, "root"}, {root + "/vol", "vol"}, {root + "/vol2", "vol2"}});
    }
    void cleanup() { fx.reset(); }

    void everyVolumesTrashIsShreddedInOneRunAndItsInfoGoes()
    {
        const QString outside = fx->world.file("outside/target");
        for (const char* item : {"a.txt", ".hidden", "folder/inner", "caf\xe9"})
            trashed(homeTrash, item);
        fx->world.link("home/.local/share/Trash/files/link", outside);
        fx->world.file("home/.local/share/Trash/info/link.trashinfo");
        QCOMPARE(chmod(QFile::encodeName(fx->world.folder("vol/.Trash")).constData(), 01777), 0);
        trashed(root + "/vol/.Trash/" + uid, "x");
        trashed(root + "/vol/.Trash-" + uid, "y");
        // A shared Trash without the sticky bit may have been set up by anyone: not ours.
        trashed(root + "/vol2/.Trash/" + uid, "z");
        fx->rig.lists.setFilePathsArr(7, {fx->world.file("listed")});

        fx->rig.trash.secureEmptyTrashAction(7);
        QTRY_COMPARE(fx->rig.window.linesStartingWith("hud"),
                     QStringList{"hud 3 7-pass shredding is complete!"});
        GlobalQueue::waitForDone();

        // One launch: the home Trash's items in any order, then the volumes' own.
        QStringList arguments = fx->script.launches().join(u'\n').split(u'\t');
        QCOMPARE(arguments.size(), 8);
        std::sort(arguments.begin() + 1, arguments.begin() + 6);
        const QString files = homeTrash + "/files/";
        QCOMPARE(arguments, QStringList({"-frmv", files + ".hidden", files + "a.txt",
                                         files + decodeNativePath("caf\xe9"), files + "folder",
                                         files + "link", root + "/vol/.Trash/" + uid + "/files/x",
                                         root + "/vol/.Trash-" + uid + "/files/y"}));

        QCOMPARE(fx->rig.window.log.last(), QString("exited 7 size=1"));
        QCOMPARE(fx->rig.lists.filePathsArr(7), QStringList{root + "/listed"});

        QVERIFY(QFile::exists(outside));
        for (const QString& emptied :
             {homeTrash + "/files", homeTrash + "/info", root + "/vol/.Trash-" + uid + "/info"})
            QVERIFY(std::filesystem::is_empty(toNativePath(emptied)));
        QVERIFY(QFile::exists(root + "/vol2/.Trash/" + uid + "/files/z"));
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
