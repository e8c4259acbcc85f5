#include "../engine/EngineTestRig.h"
#include "app/DropView.h"
#include "app/FileIntake.h"
#include "app/FileIntakeHost.h"
#include "engine/UtilsSettings.h"
#include "kit/AlertPresenter.h"
#include "kit/AlertSheet.h"
#include "platform/NativePath.h"

#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <fstream>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

// The engine's fakes, a window of three zones, and the intake between them.
struct IntakeFixture : EngineFixture, FileIntakeHost {
    IntakeFixture()
    {
        for (qint64 tag : {1, 7, 35}) {
            zones[tag] = new DropView(&window);
            zones[tag]->setMDropViewTag(tag);
        }
        window.show();
    }
    void dragEnteredStateForPassViewWithTag(qint64 tag) override { hovered << tag; }
    DropView* dropViewForTag(qint64 tag) override { return zones.value(tag); }
    QWidget* mainWindow() override { return &window; }

    QWidget window;
    QHash<qint64, DropView*> zones;
    QList<qint64> hovered;
    QList<Alert> choosers; // the method choosers asked so far
    FileIntake intake{rig.lists, rig.tasks, rig.window, rig.window, *this};
};

} // namespace

class TestFileIntake : public QObject {
    Q_OBJECT

    std::unique_ptr<IntakeFixture> fx_;

    QString inHome(const QString& relative) const { return fx_->world.home + "/" + relative; }
    QString makeFile(const QString& relative) { return fx_->world.file("home/" + relative, 0); }

    // The method choosers asked in this test, answered from the queue.
    const QList<Alert>& choosers()
    {
        for (const Alert& alert : AlertPresenter::takePresentedForTesting())
            if (alert.informativeText == FileIntake::chooserInformativeText)
                fx_->choosers << alert;
        return fx_->choosers;
    }

    void makeBusy(qint64 listId) { fx_->rig.tasks.beginChunk(listId, nullptr, true); }
    void makeIdle(qint64 listId)
    {
        fx_->rig.tasks.launchAttempted(listId);
        fx_->rig.tasks.endChunk(listId, false);
    }

private Q_SLOTS:
    void init() { fx_ = std::make_unique<IntakeFixture>(); }

    void cleanup()
    {
        AlertPresenter::takePresentedForTesting();
        fx_.reset();
    }

    void panelDimsWhatMayNotBeChosenAndStaysOpenAfterARefusal()
    {
        const QString listed = makeFile("Docs/listed.txt");
        const QString free = makeFile("Docs/free.txt");
        const QString old = inHome("Docs/old.txt");
        QDir().mkpath(inHome("Library/Caches"));
        fx_->rig.lists.setFilePathsArr(7, {old});
        fx_->rig.lists.setFilePathsArr(35, {listed});
        for (const QString& dimmed : QStringList{listed, inHome("Library/Caches"), fx_->world.home,
                                                 "/usr/share", "/etc/hosts"})
            QVERIFY2(!fx_->intake.panelShouldEnableURL(dimmed), qPrintable(dimmed));
        for (const QString& offered : QStringList{inHome("Docs"), free, "/media/usb/photo.jpg"})
            QVERIFY2(fx_->intake.panelShouldEnableURL(offered), qPrintable(offered));
        QVERIFY(fx_->rig.window.log.isEmpty());

        // A folder directly inside home and an item already listed cannot be chosen: the panel
        // stays open for the next choice.
        AlertPresenter::setNextFileNames({inHome("Docs")});
        AlertPresenter::setNextFileNames({free, listed});
        // Qt shows a name that is not text with replacement characters: the item it stands for
        // joins the list.
        const QString notText = inHome(decodeNativePath("Docs/caf\xe9"));
        std::ofstream(toNativePath(notText)).flush();
        AlertPresenter::setNextFileNames({free, QFile::decodeName(encodeNativePath(notText))});
        fx_->intake.addNewFilesToShredPass(7, nullptr);
        QVERIFY(!fx_->window.findChild<QFileDialog*>());
        QTRY_COMPARE(fx_->rig.lists.filePathsArr(7), QStringList({free, notText, old}));
        QCOMPARE(fx_->hovered, QList<qint64>{7});
        QCOMPARE(fx_->rig.lists.filePathsArr(35), QStringList{listed});

        // A cancelled panel restores the zone; with only refused choices left it ends so, too.
        fx_->rig.window.log.clear();
        AlertPresenter::setNextFilePanelCancel();
        fx_->intake.addNewFilesToShredPass(1, nullptr);
        QTRY_COMPARE(fx_->hovered, QList<qint64>({7, 1}));
        QCOMPARE(fx_->rig.window.log, QStringList{"exited 1 size=0"});
        AlertPresenter::setNextFileNames({fx_->world.home});
        fx_->intake.addNewFilesToShredPass(1, nullptr);
        QTRY_COMPARE(fx_->rig.window.log, QStringList(2, "exited 1 size=0"));
        QVERIFY(fx_->rig.lists.filePathsArr(1).isEmpty());
    }

    void chosenVolumeExpandsToItsItems()
    {
        const QString volume = inHome("mnt/USB");
        for (const QString item : {"a.txt", "b.txt", ".hidden"})
            makeFile("mnt/USB/" + item);
        const QString other = makeFile("Docs/c.txt");
        MountedVolumes::setForTesting(QList<MountedVolume>{{volume, "USB"}});
        // An item on a volume already listed elsewhere is not checked on this road.
        fx_->rig.lists.setFilePathsArr(1, {volume + "/a.txt"});

        const auto merged = fx_->intake.arrOfFilePathsFromAddBtn(35, {volume, other});
        QVERIFY(merged);
        QCOMPARE(merged->first(), other);
        QCOMPARE(QSet<QString>(merged->begin() + 1, merged->end()),
                 QSet<QString>({volume + "/a.txt", volume + "/b.txt"}));
        QCOMPARE(fx_->rig.lists.filePathsArr(35), *merged);
    }

    void requestsGatherIntoOneChooserCountingEveryPath()
    {
        AlertPresenter::setNextAnswer(1002);
        for (int i = 0; i < 10; ++i) {
            // With the event loop held, the window of the request before runs out: only a
            // request that opens the window anew keeps the chooser from coming now.
            if (i > 0)
                QThread::msleep(FileIntake::gatheringDelayMs);
            fx_->intake.applicationOpenFiles(
                {makeFile(QString("Docs/a%1").arg(i)), makeFile(QString("Docs/b%1").arg(i))});
            QCoreApplication::processEvents();
            QVERIFY(choosers().isEmpty());
        }
        QTRY_COMPARE(choosers().size(), 1);
        const Alert asked = choosers().first();
        QCOMPARE(asked.messageText, QStringLiteral("20 files dropped"));
        QCOMPARE(asked.alertStyle, AlertStyle::Informational);
        QCOMPARE(asked.buttons, QStringList({"Cancel", "35-pass", "7-pass", "1-pass"}));
        QVERIFY(asked.disabledButtons.isEmpty());

        // The answer "7-pass" hands every path to list 7.
        QTRY_COMPARE(fx_->rig.lists.filePathsArr(7).size(), 20);
        QCOMPARE(fx_->hovered, QList<qint64>{7});
        QVERIFY(fx_->intake.filesToOpenFromDock.isEmpty());

        // One path is "1 file"; a busy list's button is disabled; "Cancel" empties the queue.
        makeBusy(7);
        AlertPresenter::setNextAnswer(1000);
        fx_->intake.serviceMenuShred({makeFile("Docs/one")});
        QTRY_COMPARE(choosers().size(), 2);
        QCOMPARE(choosers().last().messageText, QStringLiteral("1 file dropped"));
        QCOMPARE(choosers().last().disabledButtons, QSet<int>{2});
        QTRY_VERIFY(fx_->intake.filesToOpenFromDock.isEmpty());
        QVERIFY(fx_->rig.lists.filePathsArr(1).isEmpty() &&
                fx_->rig.lists.filePathsArr(35).isEmpty());
        QCOMPARE(fx_->rig.lists.filePathsArr(7).size(), 20);

        // A request while the chooser is up joins it: one chooser, counting both, hands over both.
        fx_->intake.filesToOpenFromDock = {makeFile("Docs/early")};
        fx_->intake.openQueuedFiles();
        fx_->intake.filesToOpenFromDock << makeFile("Docs/late");
        fx_->intake.openQueuedFiles();
        const auto sheets = fx_->window.findChildren<AlertSheet*>();
        QCOMPARE(sheets.size(), 1);
        QCOMPARE(sheets[0]->messageLabel()->text(), QStringLiteral("2 files dropped"));
        sheets[0]->buttons()[3]->click();
        QTRY_COMPARE(fx_->rig.lists.filePathsArr(1).size(), 2);
    }

    // Nothing is queued, so nothing can be asked later: protected paths go silently, and with
    // every list busy a notice says so.
    void protectedPathsOrAllListsBusyQueueNothing()
    {
        QDir().mkpath(inHome("Desktop"));
        fx_->intake.serviceMenuShred({inHome("Desktop"), "/usr/bin/env", makeFile("Docs/.secret")});
        QVERIFY(fx_->intake.filesToOpenFromDock.isEmpty() && fx_->rig.window.log.isEmpty());
        for (qint64 id : {1, 7, 35})
            makeBusy(id);
        fx_->intake.applicationOpenFiles({makeFile("Docs/x")});
        QCOMPARE(fx_->rig.window.log, QStringList{QStringLiteral("hud %1 %2")
                                                      .arg(HudAlertType::information)
                                                      .arg(FileIntake::allMethodsBusyMessage)});
        QVERIFY(fx_->intake.filesToOpenFromDock.isEmpty());
    }

    void defaultMethodWaitsWhileItsListIsBusy()
    {
        UserDefaults::standard().setBool(Utils::DefaultsKey::defaultShreddingEnbled, true);
        UserDefaults::standard().setInteger(Utils::DefaultsKey::selectedDefShredMethodInd, 1);
        makeBusy(7);
        const QString first = makeFile("Docs/first");
        fx_->intake.applicationOpenFiles({first});
        // What the gathering timer runs when it fires.
        fx_->intake.openQueuedFiles();
        QVERIFY(choosers().isEmpty() && fx_->rig.lists.filePathsArr(7).isEmpty());
        QCOMPARE(fx_->intake.filesToOpenFromDock, QStringList{first});

        makeIdle(7);
        fx_->intake.applicationOpenFiles({makeFile("Docs/second")});
        QTRY_COMPARE(fx_->rig.lists.filePathsArr(7), QStringList({first, inHome("Docs/second")}));
        QVERIFY(choosers().isEmpty() && fx_->intake.filesToOpenFromDock.isEmpty());
        QCOMPARE(fx_->hovered, QList<qint64>{7});
    }
};

QTEST_MAIN(TestFileIntake)
#include "test_fileintake.moc"
