// Drops onto the three zones as a file manager makes them, and the looks each step leaves; the
// zones of shredding lists are the main window test's.

#include "MainWindowRig.h"
#include "app/NamedImage.h"
#include "engine/UtilsFileSystem.h"
#include "kit/ProgressIndicator.h"

#include <QAbstractButton>
#include <QLabel>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

const QColor kOrange = QColor::fromRgbF(0.991f, 0.527f, 0.033f, 1.0f);

} // namespace

class TestDropZones : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Single items are checked against the home and media roots: one directly inside home is
    // refused with a notice. A hovering drag changes the look until it leaves; a file fills the
    // zone, which shows its size, and the clear button empties it again.
    void aDropFillsTheZoneAndClearEmptiesIt()
    {
        MainWindowRig rig;
        const QString home = rig.home.path();
        for (const QString& accepted :
             QStringList{home, home + "/Desktop/report.pdf", "/media/usb/photos",
                         "/run/media/me/USB", "/mnt/backup"})
            QVERIFY2(DropView::acceptsSingleItem(accepted), qPrintable(accepted));
        for (const QString& refused :
             QStringList{home + "/Desktop", home + "/notes.txt", "/usr", "/etc/passwd"})
            QVERIFY2(!DropView::acceptsSingleItem(refused), qPrintable(refused));
        rig.start();
        const ZoneOutlets zone = *rig.delegate->zoneOutlets(7);
        const auto drag = MainWindowRig::fileDrag({rig.file(QStringLiteral("docs/x"))});
        QVERIFY(MainWindowRig::dragEnter(zone.dropView, *drag));
        QCOMPARE(zone.mainTF->font().pixelSize(), 26);
        QCOMPARE(NamedImage::imageName(zone.addNewFilesBtn), QStringLiteral("drop"));
        QCOMPARE(zone.indic->tintColor(), kOrange);
        QCOMPARE(zone.indic->bounds(), rig.delegate->defaultIndicBounds().adjusted(8, 8, -8, -8));
        MainWindowRig::dragLeave(zone.dropView);
        QCOMPARE(zone.mainTF->font().pixelSize(), 24);
        QCOMPARE(zone.indic->tintColor(), QColor(Qt::white));
        QCOMPARE(zone.indic->bounds(), rig.delegate->defaultIndicBounds());

        QVERIFY(!rig.dropFiles(7, {rig.file(QStringLiteral("notes.txt"), 10)}));
        QCOMPARE(rig.hud(), "Shredding of this file/folder is not allowed\n");
        QVERIFY(rig.list(7).isEmpty());
        QCOMPARE(NamedImage::imageName(zone.addNewFilesBtn), QStringLiteral("AddNew"));

        const QString file = rig.file(QStringLiteral("docs/report.txt"), 5000);
        QVERIFY(rig.dropFiles(7, {file}));
        QCOMPARE(rig.list(7), QStringList({file}));
        QCOMPARE(zone.mainTF->text(), QStringLiteral("1 file"));
        const auto clearReveal = zone.clearRevealView->findChildren<QAbstractButton*>();
        QVERIFY(zone.clearRevealView->isVisible() && !clearReveal.isEmpty());
        for (QAbstractButton* button : clearReveal)
            QVERIFY(button->isEnabled());
        QCOMPARE(zone.indic->tintColor(), kOrange);
        QTRY_COMPARE(zone.descrTF->text(),
                     Utils::getHumanReadableSizeFrom(qint64(Utils::fileSizeAtPath(file))));
        QCOMPARE(rig.delegate->shredLists().totalFilesPassCountNum(7), 1u);
        // The other zones are untouched.
        QCOMPARE(rig.delegate->zoneOutlets(1)->mainTF->text(), QStringLiteral("1 - pass"));

        QTest::mouseClick(clearReveal.first(), Qt::LeftButton);
        QVERIFY(rig.list(7).isEmpty());
        QCOMPARE(rig.delegate->shredLists().totalFilesPassCountNum(7), 0u);
        QCOMPARE(zone.mainTF->text(), QStringLiteral("7 - pass"));
        QVERIFY(zone.clearRevealView->isHidden());
        QVERIFY(!zone.progIndicForFilesize->isAnimating());
    }
};

QTEST_MAIN(TestDropZones)
#include "test_dropzones.moc"
