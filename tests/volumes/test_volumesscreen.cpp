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

using namespace tolvex;
using tolvex::testing::LoopImage;
using tolvex::testing::MainWindowRig;

namespace {

QStringList logged;

// The log lines; the platform plugin's warnings are no part of them.
void keepMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtInfoMsg)
        logged << message;
}

QList<volCellView*> rows(FreeSpaceEraseVC* screen)
{
    QList<volCellView*> cells;
    for (int row = 0; row < screen->volsTablView->count(); ++row)
        cells << qobject_cast<volCellView*>(
            screen->volsTablView->itemWidget(screen->volsTablView->item(row)));
    return cells;
}

volCellView* rowFor(FreeSpaceEraseVC* screen, const QString& mountPoint)
{
    const VolDics& volumes = screen->arrangedObjects();
    for (qsizetype row = 0; row < volumes.size(); ++row) {
        if (volumes[row].dskPath == mountPoint)
            return rows(screen).value(row);
    }
    return nullptr;
}

VolDic volume(const QString& path, quint64 total, quint64 occupied)
{
    VolDic record;
    record.dskName = QStringLiteral("Data");
    record.dskPath = path;
    record.dskTotalSpace_long = total;
    record.dskOccupiedSpace_long = occupied;
    record.dskTotalSpace_readable = QStringLiteral("1 KB");
    record.dskFreeSpace_readable = QStringLiteral("250 bytes");
    record.dskOccupiedSpace_readable = QStringLiteral("750 bytes");
    return record;
}

} // namespace

class TestVolumesScreen : public QObject {
    Q_OBJECT

    MainWindowRig rig_;

    FreeSpaceEraseVC* screen() { return rig_.outlets().fse_VC; }
    JMModalOverlay* overlay() { return rig_.outlets().modalOverlay; }

    void openFromTheTitleBar()
    {
        rig_.window->findChild<QToolButton*>(QStringLiteral("volumesButton"))->click();
        QVERIFY(overlay()->isShown());
        QCOMPARE(overlay()->contentViewController(), screen());
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Reveals fall back to opening the parent folder, with an opener that only writes down.
        qputenv("DBUS_SESSION_BUS_ADDRESS",
                "unix:path=" + QFile::encodeName(rig_.home.filePath("no-bus")));
        const QString opener = rig_.home.filePath(QStringLiteral("bin/xdg-open"));
        QDir().mkpath(QFileInfo(opener).path());
        QFile script(opener);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho \"$1\" >> '%1'\n")
                         .arg(rig_.home.filePath(QStringLiteral("opened")))
                         .toUtf8());
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(QFileInfo(opener).path()) + ":" + qgetenv("PATH"));
        rig_.start();
    }

    void cleanup() { qInstallMessageHandler(nullptr); }

    void rowsFollowMountsWhileTheScreenIsUp()
    {
        const QString skipReason = LoopImage::skipReason();
        if (!skipReason.isEmpty())
            QSKIP(qPrintable(skipReason));
        openFromTheTitleBar();
        QTemporaryDir work;
        const QString mountPoint = work.filePath(QStringLiteral("Backup"));
        {
            LoopImage image(work.filePath(QStringLiteral("backup.img")), mountPoint, 8);
            if (!image.isMounted())
                QSKIP(qPrintable("the image could not be loop-mounted: " + image.error()));
            QTRY_VERIFY(rowFor(screen(), mountPoint));
            volCellView* imageRow = rowFor(screen(), mountPoint);
            QCOMPARE(imageRow->volName->text(), QStringLiteral("Backup"));
            QVERIFY(!imageRow->eraseAndFormatBtn->isHidden());
            QCoreApplication::processEvents();
            const QString folder = QStringLiteral(TOLVEX_SCREENSHOT_DIR);
            QDir().mkpath(folder);
            QVERIFY(rig_.window->grab().save(QDir(folder).filePath(QStringLiteral("volumes.png"))));
        }
        QTRY_VERIFY(!rowFor(screen(), mountPoint));
        screen()->closeFreeSpaceVC(rig_.window->findChild<QPushButton*>("closeButton"));
    }

    // The root, wherever its row stands, never offers reformatting.
    void theRowsShowTheRecordsFigures()
    {
        screen()->setVolsDicsArr(
            {volume("/media/Data", 1000, 750), volume("/", 0, 0), volume("/media/b", 1000, 750)});
        const QList<volCellView*> cells = rows(screen());
        QCOMPARE(cells[0]->volSpaceIndicator->progress(), 0.75);
        QCOMPARE(cells[0]->volTotalSpace->text(), QStringLiteral("1 KB"));
        QCOMPARE(cells[0]->volAvailSpace->text(), QStringLiteral("250 bytes"));
        QCOMPARE(cells[0]->volOccupSpace->text(), QStringLiteral("750 bytes"));
        QCOMPARE(cells[0]->volName->text(), QStringLiteral("Data"));
        // 0 of 0 is not a number, which the bar leaves alone.
        QCOMPARE(cells[1]->volSpaceIndicator->progress(), 0.0);
        QCOMPARE(cells[0]->eraseAndFormatBtn->isHidden(), false);
        QCOMPARE(cells[1]->eraseAndFormatBtn->isHidden(), true);
        QCOMPARE(cells[2]->eraseAndFormatBtn->isHidden(), false);
    }

    void buttonsCloseTheScreenAndRevealOrLog_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("reveals");
        QTest::newRow("icon") << "diskIconBtn" << QStringList() << true;
        QTest::newRow("erase free space")
            << "eraseFreeSpaceBtn" << QStringList{"Erace free space > /media/u/Data"} << false;
        QTest::newRow("erase and format")
            << "eraseAndFormatBtn" << QStringList{"Erace&Format > /media/u/Data"} << false;
        QTest::newRow("close") << "closeButton" << QStringList() << false;
    }

    void buttonsCloseTheScreenAndRevealOrLog()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, lines);
        QFETCH(bool, reveals);
        openFromTheTitleBar();
        screen()->setVolsDicsArr({volume("/media/u/Data", 1000, 750)});
        QFile::remove(rig_.home.filePath(QStringLiteral("opened")));
        logged.clear();
        qInstallMessageHandler(keepMessage);
        screen()->view()->findChild<QAbstractButton*>(button)->click();
        QVERIFY(!overlay()->isShown());
        QCOMPARE(logged, lines);
        QFile opened(rig_.home.filePath(QStringLiteral("opened")));
        if (reveals)
            QTRY_VERIFY(opened.exists() && opened.size() > 0);
        else
            QVERIFY(!opened.exists());
    }

    void shreddingRefusesTheScreen()
    {
        rig_.window.reset();
        rig_.delegate.reset();
        rig_.startShredding({7});
        rig_.delegate->eraseDiskSpace();
        QCOMPARE(rig_.hud(), QStringLiteral("Please wait for shredding tasks to complete"));
        QVERIFY(!overlay()->isShown());
    }
};

QTEST_MAIN(TestVolumesScreen)
#include "test_volumesscreen.moc"
