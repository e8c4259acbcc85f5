// Real shred runs of temporary trees through the helper, started and stopped as a user does.

#include "MainWindowRig.h"
#include "app/NamedImage.h"
#include "engine/UtilsSettings.h"

#include <QFileDialog>
#include <QLabel>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

// A folder of `files` small files in two levels below the home folder.
QString tree(MainWindowRig& rig, const QString& name, int files)
{
    for (int i = 0; i < files; ++i)
        rig.file(QStringLiteral("%1/%2/f%3.bin").arg(name).arg(i % 2).arg(i), 512 + i);
    return rig.home.filePath(name);
}

quint64 shreddedFiles()
{
    return Utils::getTotalShredInfoDic().value_or(TotalShredInfoDic{}).shredFilesCount.value_or(0);
}

bool emptyLook(MainWindowRig& rig, qint64 listId)
{
    const ZoneOutlets zone = *rig.delegate->zoneOutlets(listId);
    return zone.mainTF->text() == QStringLiteral("%1 - pass").arg(listId) &&
           rig.list(listId).isEmpty() && zone.clearRevealView->isHidden();
}

} // namespace

class TestShredding : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Runs that end together may each find nothing running any more: quitting twice is
    // quitting once. Each method's own notice is checked with the real helper in the engine's
    // tests.
    void allThreeListsShredThroughTheStartButtonOrReturn_data()
    {
        QTest::addColumn<bool>("viaReturnAndQuit");
        QTest::newRow("start button") << false;
        QTest::newRow("Return, then quit") << true;
    }

    void allThreeListsShredThroughTheStartButtonOrReturn()
    {
        QFETCH(bool, viaReturnAndQuit);
        MainWindowRig rig;
        UserDefaults::standard().setBool(QStringLiteral("kQuitOnAllComplete"), viaReturnAndQuit);
        rig.start();
        const QStringList gone{tree(rig, "a/one", 4), tree(rig, "b/seven", 3),
                               tree(rig, "c/thirtyFive", 2), rig.file("b/single.txt", 2000)};
        const QString bystander = rig.file("b/keep.txt", 10);
        QVERIFY(rig.dropFiles(1, {gone[0]}) && rig.dropFiles(7, {gone[1], gone[3]}) &&
                rig.dropFiles(35, {gone[2]}));
        const ShredLists& lists = rig.delegate->shredLists();
        QTRY_VERIFY(lists.totalFilesPassCountNum(1) == 4 && lists.totalFilesPassCountNum(7) == 4 &&
                    lists.totalFilesPassCountNum(35) == 2);

        if (viaReturnAndQuit) {
            rig.pressKey(Key::Return);
        } else {
            // A press alone starts nothing; the release does.
            QTest::mousePress(rig.outlets().startShredBtn, Qt::LeftButton);
            QVERIFY(!rig.delegate->shredTasks().isAnyShredding());
            QTest::mouseRelease(rig.outlets().startShredBtn, Qt::LeftButton);
        }
        QTRY_VERIFY_WITH_TIMEOUT(rig.hud().endsWith("-pass shredding is complete!"), 60000);
        QVERIFY(rig.waitUntilIdle());
        QTRY_VERIFY(emptyLook(rig, 1) && emptyLook(rig, 7) && emptyLook(rig, 35));
        for (const QString& path : gone)
            QVERIFY2(!QFile::exists(path), qPrintable(path));
        QVERIFY(QFile::exists(bystander));
        QCOMPARE(rig.delegate->zoneOutlets(7)->indic->progress(), 0.0);
        QCOMPARE(shreddedFiles(), 10u);
        if (viaReturnAndQuit)
            QTRY_VERIFY(rig.delegate->terminateRequests >= 1);
        else
            QCOMPARE(rig.delegate->terminateRequests, 0);
    }

    void cancelThroughTheAddButton()
    {
        MainWindowRig rig;
        rig.start();
        const QString first = rig.file(QStringLiteral("docs/first.txt"), 1000);
        QStringList large;
        for (int i = 0; i < 4; ++i)
            large << rig.file(QStringLiteral("docs/large%1.bin").arg(i), 16 * 1024 * 1024);
        QVERIFY(rig.dropFiles(35, QStringList{first} + large));
        QTRY_COMPARE(rig.delegate->shredLists().totalFilesPassCountNum(35), 5u);
        const ZoneOutlets zone = *rig.delegate->zoneOutlets(35);

        // Once the helper is past the first item, the add button, now the cancel button, stops
        // it; no panel opens.
        rig.clickStartButton();
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(first), 30000);
        QCOMPARE(NamedImage::imageName(zone.addNewFilesBtn), QStringLiteral("cancelShred"));
        QTest::mouseClick(zone.addNewFilesBtn, Qt::LeftButton);
        QVERIFY(rig.waitUntilIdle());
        QVERIFY(!rig.window->findChild<QFileDialog*>());

        // The list keeps only what is still there, and the zone shows it.
        large.removeIf([](const QString& path) { return !QFile::exists(path); });
        QVERIFY(!large.isEmpty());
        QTRY_COMPARE(rig.list(35), large);
        QCOMPARE(zone.mainTF->text(),
                 QStringLiteral("%1 file%2").arg(large.size()).arg(large.size() == 1 ? "" : "s"));
        QCOMPARE(NamedImage::imageName(zone.addNewFilesBtn), QStringLiteral("AddNew"));
        QVERIFY(rig.hud() != QStringLiteral("35-pass shredding is complete!"));
    }
};

QTEST_MAIN(TestShredding)
#include "test_shredding.moc"
