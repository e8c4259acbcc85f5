// The volumes screen in the real window: it follows mounts while it is up, shows each volume's
// figures, and its buttons close it and reveal or log, nothing more.
#include "../LoopImage.h"
#include "../app/MainWindowRig.h"
#include "kit/MFSCustomProgressIndicator.h"
#include "volumes/FreeSpaceEraseVC.h"
#include "volumes/volCellView.h"

#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

using namespace tolvex;
using tolvex::testing::LoopImage;
using tolvex::testing::MainWindowRig;

namespace {

// The row of the volume mounted at `mountPoint`, or of the `index`th volume.
volCellView* row(FreeSpaceEraseVC* screen, const QString& mountPoint, qsizetype index = -1)
{
    const VolDics& volumes = screen->arrangedObjects();
    if (index < 0)
        index = std::ranges::find(volumes, mountPoint, &VolDic::dskPath) - volumes.begin();
    QListWidgetItem* item = screen->volsTablView->item(int(index));
    return item ? qobject_cast<volCellView*>(screen->volsTablView->itemWidget(item)) : nullptr;
}

VolDic volume(const QString& path, quint64 total, quint64 occupied)
{
    return VolDic{"Data", path,        false, false, false,  {},       {},
                  false,  "250 bytes", 0,     total, "1 KB", occupied, "750 bytes"};
}

} // namespace

class TestVolumesScreen : public QObject {
    Q_OBJECT

    MainWindowRig rig_;

    FreeSpaceEraseVC* screen() { return rig_.outlets().fse_VC; }
    JMModalOverlay* overlay() { return rig_.outlets().modalOverlay; }

private Q_SLOTS:
    void initTestCase()
    {
        // Reveals fall back to opening the parent folder, with an opener that only writes down.
        qputenv("DBUS_SESSION_BUS_ADDRESS",
                "unix:path=" + QFile::encodeName(rig_.home.filePath("no-bus")));
        QFile script(rig_.file(QStringLiteral("bin/xdg-open")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$1\" >> '" +
                     QFile::encodeName(rig_.home.filePath("opened")) + "'\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(rig_.home.filePath("bin")) + ":" + qgetenv("PATH"));
        rig_.start();
    }

    // Every test starts on the screen, opened from the title bar.
    void init()
    {
        rig_.window->findChild<QToolButton*>(QStringLiteral("volumesButton"))->click();
        QVERIFY(overlay()->isShown());
        QCOMPARE(overlay()->contentViewController(), screen());
    }

    void rowsFollowMountsWhileTheScreenIsUp()
    {
        if (const QString why = LoopImage::skipReason(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QTemporaryDir work;
        const QString mountPoint = work.filePath(QStringLiteral("Backup"));
        {
            LoopImage image(work.filePath(QStringLiteral("backup.img")), mountPoint, 8);
            if (!image.isMounted())
                QSKIP(qPrintable("the image could not be loop-mounted: " + image.error()));
            QTRY_VERIFY(row(screen(), mountPoint));
            QCOMPARE(row(screen(), mountPoint)->volName->text(), QStringLiteral("Backup"));
            QVERIFY(!row(screen(), mountPoint)->eraseAndFormatBtn->isHidden());
            QCoreApplication::processEvents();
            QVERIFY(QDir().mkpath(QStringLiteral(TOLVEX_SCREENSHOT_DIR)));
            QVERIFY(rig_.window->grab().save(QStringLiteral(TOLVEX_SCREENSHOT_DIR "/volumes.png")));
        }
        QTRY_VERIFY(!row(screen(), mountPoint));
        screen()->closeFreeSpaceVC(rig_.window->findChild<QPushButton*>("closeButton"));
    }

    // The root, wherever its row stands, never offers reformatting; 0 of 0 leaves the bar alone.
    void theRowsShowTheRecordsFigures()
    {
        // Rows enough for a scroll bar, which resizes the list while a row is being added.
        screen()->setVolsDicsArr(VolDics(20, volume("/media/Data", 1000, 750)));
        QVERIFY(row(screen(), {}, 19));
        screen()->setVolsDicsArr(
            {volume("/media/Data", 1000, 750), volume("/", 0, 0), volume("/media/b", 1000, 750)});
        const volCellView* data = row(screen(), {}, 0);
        QCOMPARE(data->volSpaceIndicator->progress(), 0.75);
        QCOMPARE(data->volTotalSpace->text() + data->volAvailSpace->text() +
                     data->volOccupSpace->text() + data->volName->text(),
                 QStringLiteral("1 KB250 bytes750 bytesData"));
        QCOMPARE(row(screen(), {}, 1)->volSpaceIndicator->progress(), 0.0);
        for (const int index : {0, 1, 2})
            QCOMPARE(row(screen(), {}, index)->eraseAndFormatBtn->isHidden(), index == 1);
    }

    void buttonsCloseTheScreenAndRevealOrLog_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("line");
        QTest::newRow("icon") << "diskIconBtn" << QString();
        QTest::newRow("erase free space") << "eraseFreeSpaceBtn"
                                          << "Erace free space > /media/u/Data";
        QTest::newRow("erase and format") << "eraseAndFormatBtn"
                                          << "Erace&Format > /media/u/Data";
        QTest::newRow("close") << "closeButton" << QString();
    }

    void buttonsCloseTheScreenAndRevealOrLog()
    {
        QFETCH(QString, button);
        QFETCH(QString, line);
        screen()->setVolsDicsArr({volume("/media/u/Data", 1000, 750)});
        QFile opened(rig_.home.filePath(QStringLiteral("opened")));
        opened.remove();
        if (!line.isEmpty())
            QTest::ignoreMessage(QtInfoMsg, qPrintable(line));
        screen()->view()->findChild<QAbstractButton*>(button)->click();
        QVERIFY(!overlay()->isShown());
        if (button == u"diskIconBtn")
            QTRY_VERIFY(opened.exists() && opened.size() > 0);
        else
            QVERIFY(!opened.exists());
    }
};

QTEST_MAIN(TestVolumesScreen)
#include "test_volumesscreen.moc"
