// Drops onto the three zones as a file manager makes them, and the looks each step leaves; the
// zones of shredding lists are the main window test's.

#include "MainWindowRig.h"
#include "app/NamedImage.h"
#include "engine/UtilsFileSystem.h"
#include "kit/ProgressIndicator.h"
#include "platform/NativePath.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLocalSocket>
#include <QProcess>
#include <QtEndian>

using namespace tolvex;
using namespace tolvex::testing;

namespace {

const QColor kOrange = QColor::fromRgbF(0.991f, 0.527f, 0.033f, 1.0f);

// The real window with the desktop's requests arriving on a channel of its own, and a default
// method (7-pass) so that they join a list without a question.
struct ChannelRig : MainWindowRig {
    SingleInstance channel{settings.path()};
    ChannelRig()
    {
        channel.start({});
        desktopRequests = &channel;
        UserDefaults::standard().setBool(Utils::DefaultsKey::defaultShreddingEnbled, true);
        UserDefaults::standard().setInteger(Utils::DefaultsKey::selectedDefShredMethodInd, 1);
        start();
    }
};

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
        // The title grows to 26 px at most: as far as the shrunken ring leaves it room.
        QVERIFY(zone.mainTF->font().pixelSize() <= 26);
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

    // Whichever road a path takes, it is cleaned before any rule sees it and refused when it
    // holds a NUL byte or names the home folder or a folder above it. "H" is the home folder.
    void everyRoadRefusesHostilePathsAndListsTheCleanedForm_data()
    {
        QTest::addColumn<QString>("incoming"); // percent-encoded bytes
        QTest::addColumn<QString>("listed");
        for (const char* refused : {"H/docs/junk.txt%00H/Documents%00junk.txt", "H//Documents",
                                    "H/docs/../Documents", "H", "H/", "H/..", "/"})
            QTest::newRow(refused) << refused << QString();
        QTest::newRow("cleaned") << "H/docs//./x.txt/"
                                 << "H/docs/x.txt";
        QTest::newRow("not text") << "H/docs/./caf%E9"
                                  << "H/docs/caf%E9";
    }

    void everyRoadRefusesHostilePathsAndListsTheCleanedForm()
    {
        QFETCH(QString, incoming);
        QFETCH(QString, listed);
        ChannelRig rig;
        const auto real = [&](const QString& text) {
            return decodeNativePath(QByteArray::fromPercentEncoding(
                QString(text).replace("H", rig.home.path()).toUtf8()));
        };
        // A path sent on every road after the tested one: once it is listed, so is whatever the
        // tested path came to.
        const QString marker = rig.file("docs/marker");
        QStringList expected{marker};
        if (!listed.isEmpty())
            expected << real(listed);
        expected.sort();
        const QList<std::function<void(const QString&)>> roads{
            [&](const QString& sent) {
                QMimeData drag;
                drag.setUrls({Utils::fileURLWithPath(sent)});
                MainWindowRig::drop(rig.zone(7), drag);
            },
            [&](const QString& sent) {
                AlertPresenter::setNextFileNames({sent});
                rig.delegate->addNewFilesToShredPass(rig.delegate->zoneOutlets(7)->addNewFilesBtn);
            },
            [&](const QString& sent) { rig.delegate->applicationOpenFiles({sent}); },
            [&](const QString& sent) {
                QLocalSocket client;
                client.connectToServer(rig.channel.socketPath());
                QVERIFY(client.waitForConnected());
                const QByteArray message =
                    LaunchRequest{LaunchRequest::Kind::EraseFiles, {sent}}.encode();
                QByteArray length(4, 0);
                qToBigEndian(quint32(message.size()), length.data());
                client.write(length + message);
                QTRY_VERIFY(client.bytesAvailable() > 0);
            }};
        for (const auto& road : roads) {
            rig.delegate->shredLists().setFilePathsArr(7, {});
            road(real(incoming));
            road(marker);
            QTRY_VERIFY(rig.list(7).contains(marker));
            QStringList got = rig.list(7);
            got.sort();
            QCOMPARE(got, expected);
        }
    }

    // A real `tolvex --erase` from a terminal whose working folder is gone: its relative path is
    // refused and said so, never taken from the root; so is the root itself.
    void eraseFromAGoneWorkingFolderRefusesRelativePaths()
    {
        ChannelRig rig;
        const QString victim = rig.file("docs/victim.txt");
        const QString marker = rig.file("docs/marker.txt");
        QTemporaryDir gone;
        QProcess second;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", rig.settings.path());
        second.setProcessEnvironment(environment);
        second.start("/bin/sh",
                     {"-c", "cd \"$1\" && rmdir \"$1\" && exec \"$2\" --erase \"$3\" / \"$4\"",
                      "sh", gone.path(), qEnvironmentVariable("TOLVEX_BIN_DIR") + "/tolvex",
                      victim.mid(1), marker});
        QVERIFY(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 30000));
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE(rig.list(7), QStringList{marker});
        const QString said = QString::fromLocal8Bit(second.readAllStandardError());
        QVERIFY2(said.contains(QStringLiteral("\"%1\" is refused: it is relative and the working "
                                              "folder cannot be read")
                                   .arg(victim.mid(1))) &&
                     said.contains("\"/\" is refused"),
                 qPrintable(said));
    }
};

QTEST_MAIN(TestDropZones)
#include "test_dropzones.moc"
