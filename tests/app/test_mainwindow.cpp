// The main window from start-up to close: both layouts, shortcuts and what stands over them, the
// Secure Empty Trash popover, desktop requests, closing while lists shred, and real shred runs of
// temporary trees through the helper, started and stopped as a user does.

#include "MainWindowRig.h"
#include "app/Addresses.h"
#include "app/EditFilePathsVC.h"
#include "app/NamedImage.h"
#include "app/PrefsVC.h"
#include "app/SecureTrashPopover.h"
#include "app/WindowLayout.h"
#include "engine/MountedVolumes.h"
#include "engine/UtilsSettings.h"
#include "kit/AlertSheet.h"
#include "kit/JESCircularProgressView.h"
#include "kit/ProgressIndicator.h"
#include "tests/UrlCatcher.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPropertyAnimation>
#include <QPushButton>
#include <cerrno>
#include <csignal>

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

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    // The zone origins, in the order 1, 7, 35.
    static QList<QPoint> origins(MainWindowRig& rig)
    {
        return {rig.zone(1)->pos(), rig.zone(7)->pos(), rig.zone(35)->pos()};
    }

    // The message texts of the alerts shown since the last call.
    static QStringList told()
    {
        QStringList texts;
        for (const Alert& alert : AlertPresenter::takePresentedForTesting())
            texts << alert.messageText;
        return texts;
    }

    // The title can be read and no title-bar button covers it; the title bar's own buttons say
    // what they do.
    static void titleStaysClear(MainWindowRig& rig)
    {
        QCoreApplication::processEvents();
        QLabel* title = rig.outlets().titleBarStrTitleTF;
        const QRect titleFrame(title->mapTo(rig.window.get(), QPoint()), title->size());
        QVERIFY(title->width() >= title->fontMetrics().horizontalAdvance("Tolvex"));
        const auto own = rig.outlets().titlebar->findChildren<QAbstractButton*>();
        for (QAbstractButton* button : own)
            QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->objectName()));
        for (QAbstractButton* button : rig.window->standardButtons() + own) {
            const QRect frame(button->mapTo(rig.window.get(), QPoint()), button->size());
            QVERIFY2(!frame.intersects(titleFrame.adjusted(-4, 0, 4, 0)),
                     qPrintable(button->toolTip()));
        }
    }

    // Every visible window of the program lies inside the screen's usable area.
    static void everyWindowOnTheScreen(const QRect& available)
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            const auto* way = qobject_cast<WAYWindow*>(window);
            const QRect frame = way ? way->surfaceGeometry() : window->frameGeometry();
            QVERIFY2(!window->isVisible() || available.contains(frame),
                     qPrintable(window->metaObject()->className()));
        }
    }

    // Every label shown in `root` holds its text whole, or elided on purpose.
    static void labelsFit(QWidget* root)
    {
        for (const QLabel* label : root->findChildren<QLabel*>()) {
            const QString text = label->text();
            const bool fits = label->wordWrap()
                                  ? label->heightForWidth(label->width()) <= label->height()
                                  : label->fontMetrics().horizontalAdvance(text) <= label->width();
            QVERIFY2(!label->isVisible() || text.contains(QChar(0x2026)) || fits, qPrintable(text));
        }
    }

    // The line of `label` lies inside the zone's ring, clear of its progress line.
    static void insideRing(const ZoneOutlets& zone, const QLabel* label)
    {
        const JESCircularProgressView* ring = zone.indic;
        const QPointF centre = ring->mapTo(zone.dropView, ring->center());
        const qreal inside = ring->radius() - ring->progressLineWidth() / 2.0;
        const QFontMetricsF metrics(label->font());
        const QPointF middle = QRectF(label->geometry()).center();
        const QSizeF half(metrics.horizontalAdvance(label->text()) / 2.0, metrics.ascent() / 2.0);
        for (const QPointF corner : {middle + QPointF(half.width(), half.height()),
                                     middle - QPointF(half.width(), half.height()),
                                     middle + QPointF(half.width(), -half.height()),
                                     middle + QPointF(-half.width(), half.height())})
            QVERIFY2(QLineF(centre, corner).length() < inside, qPrintable(label->text()));
    }

private Q_SLOTS:
    // At any scale: the stored layout when it fits, else the other, centred; a switch to a layout
    // that cannot fit is refused with a word; a switch and its reverse come back to one place.
    void staysOnTheScreenInEitherLayout()
    {
        MainWindowRig rig;
        Utils::windIsVert_calSave(true);
        rig.start();
        const QRect available = rig.window->screen()->availableGeometry();
        const bool verticalFits = WindowLayout::fits(WindowLayout::kVerticalSize, available);
        QCOMPARE(Utils::windIsVert_cal(), verticalFits);
        QVERIFY((rig.window->surfaceGeometry().center() - available.center()).manhattanLength() <=
                2);
        everyWindowOnTheScreen(available);
        labelsFit(rig.window.get());
        if (!verticalFits) {
            const QRect before = rig.window->geometry();
            rig.pressKey(Key::Up, Qt::ControlModifier);
            QCOMPARE(rig.window->geometry(), before);
            QCOMPARE(rig.hud(), "The window does not fit on this screen in the other layout");
            return;
        }
        for (const QPoint place : {QPoint(1000, 100), QPoint(20, 120)}) {
            rig.window->moveSurfaceTo(available.topLeft() + place);
            const QRect before = rig.window->geometry();
            rig.delegate->toggleWindowHorizontal(nullptr);
            everyWindowOnTheScreen(available);
            rig.delegate->toggleWindowHorizontal(nullptr);
            QCOMPARE(rig.window->geometry(), before);
        }
    }

    // Then the desktop's requests reach the window, the title bar visits the website, and its
    // close button closes at once while nothing shreds.
    void startsWithEmptyZonesInARowSwitchesToAColumnKeepingTheBottomLeftCornerAndCloses()
    {
        MainWindowRig rig;
        SingleInstance requests(rig.settings.path());
        rig.desktopRequests = &requests;
        rig.start();
        QCOMPARE(NamedImage::imageName(rig.outlets().toggleHorizontalVerticalBtn), "horiz_Layout");
        for (qint64 id : {1, 7, 35})
            QVERIFY(rig.delegate->zoneOutlets(id)->progIndicForFilesize->isHidden() &&
                    rig.delegate->zoneOutlets(id)->clearRevealView->isHidden());
        // A row around the centre of the 500 by 338 window, 16 apart (half the 32-point title
        // bar); the end-to-end test sees the sizes and the layout kept in the settings.
        const QSize zone = rig.zone(1)->size();
        const int y = 169 - zone.height() / 2;
        QCOMPARE(origins(rig), QList<QPoint>({QPoint(250 - zone.width() * 3 / 2 - 16, y),
                                              QPoint(250 - zone.width() / 2, y),
                                              QPoint(250 + zone.width() / 2 + 16, y)}));
        titleStaysClear(rig);

        rig.window->move(100, 300);
        const QRect horizontal = rig.window->geometry();
        const QList<QPoint> row = origins(rig);
        rig.delegate->toggleWindowHorizontal(rig.outlets().toggleHorizontalVerticalBtn);
        QCOMPARE(rig.window->size(), QSize(280, 620));
        QCOMPARE(rig.window->geometry().bottomLeft(), horizontal.bottomLeft());
        QCOMPARE(NamedImage::imageName(rig.outlets().toggleHorizontalVerticalBtn), "vert_Layout");
        // A centred column, as far from the title bar and the start button as its zones stand
        // from each other.
        const int x = 140 - zone.width() / 2;
        QTRY_VERIFY(rig.window->findChildren<QPropertyAnimation*>().isEmpty());
        const QList<QPoint> column = origins(rig);
        QCOMPARE(column[1].y() - column[0].y(), zone.height() + 16);
        for (const QPoint& origin : column)
            QCOMPARE(origin.x(), x);
        QCOMPARE(column[0].y() - rig.window->titleBarView()->height(), 17);
        QCOMPARE(rig.outlets().startShredBtn->y() - (column[2].y() + zone.height()), 17);
        titleStaysClear(rig);

        rig.delegate->toggleWindowHorizontal(nullptr);
        QCOMPARE(rig.window->geometry(), horizontal);
        QTRY_COMPARE(origins(rig), row);
        // Near the top of the screen the title bar stays on it.
        rig.window->move(100, 0);
        rig.delegate->toggleWindowHorizontal(nullptr);
        QCOMPARE(rig.window->geometry(), QRect(100, 0, 280, 620));
        // A column resized by hand counts as a row: the switch goes to the column.
        rig.window->setFixedSize(300, 640);
        rig.delegate->toggleWindowHorizontal(nullptr);
        QCOMPARE(rig.window->size(), QSize(280, 620));

        // Open-with asks for the method ("Erase with Tolvex" goes the same road, end to end).
        const QString opened = rig.file("docs/open.txt", 10);
        AlertPresenter::setNextAnswer(AlertSecondButtonReturn);
        Q_EMIT requests.openFilesRequested({opened});
        QTRY_COMPARE(rig.list(35), QStringList{opened});
        QCOMPARE(told().size(), 1);
        // Launching Tolvex again brings the window back.
        rig.window->showMinimized();
        QTRY_VERIFY(rig.window->isMinimized());
        Q_EMIT requests.reopenRequested();
        QTRY_VERIFY(!rig.window->isMinimized());

        UrlCatcher catcher({"https"});
        rig.outlets().titlebar->findChild<QAction*>("visitWebsiteAction")->trigger();
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(QString(Addresses::homePage))});
        // The title bar's own view lies under the window's buttons.
        QAbstractButton* close = rig.window->standardButtons().first();
        QCOMPARE(rig.window->childAt(close->mapTo(rig.window.get(), close->rect().center())),
                 close);
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!rig.window->isVisible() && told().isEmpty());
    }

    void shortcutsFollowTheKeyboardLayoutAndWaitWhileSomethingStandsOverTheWindow()
    {
        MainWindowRig rig;
        rig.start();

        // Ctrl+Q and Ctrl+Down on QWERTY are the end-to-end test's; the comma opens the
        // preferences of the layout in use.
        rig.pressKey(Key::Down, Qt::ControlModifier);
        rig.pressKey(Key::Comma, Qt::ControlModifier);
        JMModalOverlay* overlay = rig.outlets().modalOverlay;
        QCOMPARE(overlay->contentViewController(),
                 rig.delegate->secondaryScreens().preferencesViewContr_vert);
        overlay->close();

        // The layout in use is asked: on AZERTY, Q sits where QWERTY has A.
        KeyboardLayout::setForTesting(KeyboardInputSource{"French (AZERTY)", "fr(azerty)"});
        rig.pressKey(Key::Q, Qt::ControlModifier);
        rig.pressKey(Key::A, Qt::ControlModifier);
        QCOMPARE(rig.delegate->terminateRequests, 1);

        // Return alone shreds everything, here nothing at all.
        rig.pressKey(Key::Return, Qt::ShiftModifier);
        QCOMPARE(rig.hud(), "\n No files to shred \nPlease add some files to begin");

        // Keys typed on a screen or a sheet stay there.
        const QString listed = rig.file("docs/listed.txt", 10);
        rig.dropFiles(1, {listed});
        QTest::mouseClick(rig.delegate->zoneOutlets(1)->mainTF, Qt::LeftButton);
        QTRY_VERIFY(overlay->isShown());
        QLineEdit* search =
            static_cast<EditFilePathsVC*>(overlay->contentViewController())->searchField;
        search->setFocus();

        // The search field keeps its editing keys.
        MainWindowRig::typeKey(search, Key::A, Qt::NoModifier, Qt::Key_A, "a");
        for (const auto& [evdev, key] : {std::pair{Key::A, Qt::Key_A},
                                         {Key::C, Qt::Key_C},
                                         {Key::V, Qt::Key_V},
                                         {Key::V, Qt::Key_V}})
            MainWindowRig::typeKey(search, evdev, Qt::ControlModifier, key);
        QCOMPARE(search->text(), "aa");
        MainWindowRig::typeKey(search, Key::Z, Qt::ControlModifier, Qt::Key_Z);
        QCOMPARE(search->text(), "a");

        // Nothing beneath the screen, or beneath a sheet, takes a key.
        const auto windowShortcutsWait = [&](QWidget* target) {
            for (const auto& [evdev, key] :
                 {std::pair{Key::Return, Qt::Key_Return}, {Key::W, Qt::Key_W}, {Key::Q, Qt::Key_Q}})
                MainWindowRig::typeKey(target, evdev, Qt::ControlModifier, key);
            rig.pressKey(Key::Return);
            QVERIFY(rig.window->isVisible());
            QCOMPARE(rig.delegate->terminateRequests, 1);
            QVERIFY(!rig.delegate->shredTasks().isAnyShredding());
            QCOMPARE(rig.list(1), QStringList{listed});
        };
        windowShortcutsWait(search);
        QVERIFY(overlay->isShown());
        overlay->close();

        rig.delegate->beginSheetModal({"Question", {}, {"OK"}}, [](int) {});
        QPointer<AlertSheet> sheet = rig.window->findChild<AlertSheet*>();
        QTRY_VERIFY(sheet && sheet->isVisible());
        windowShortcutsWait(sheet);
        QVERIFY(sheet->isVisible());
        sheet->buttons().first()->click();
        QTRY_VERIFY(!sheet);

        // Ctrl+Shift+Backspace opens the Secure Empty Trash popover, which shreds with its pass.
        MountedVolumes::setForTesting(QList<MountedVolume>{{"/", QString()}});
        MainWindowOutlets& o = rig.outlets();
        const QString trashed = rig.file(".local/share/Trash/files/old.txt", 100);
        rig.pressKey(Key::Backspace, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(o.secureTrashPopOver->isVisible());
        QCOMPARE(o.secureTrashPopOver->y(),
                 o.secEmptyTrashBtn->mapToGlobal(QPoint(0, o.secEmptyTrashBtn->height())).y());
        o.secureTrashPopOver->passButton(7)->click();
        QVERIFY(!o.secureTrashPopOver->isVisible());
        QTRY_VERIFY(!QFile::exists(trashed));
        QVERIFY(rig.waitUntilIdle());
        QTRY_COMPARE(rig.hud(), "7-pass shredding is complete!");
        MountedVolumes::setForTesting(std::nullopt);
    }

    void unsavedSettingsAreToldOnce()
    {
        MainWindowRig rig;
        UserDefaults::setStandardForTesting(rig.file("blocker") + "/Tolvex.conf");
        rig.start();
        AlertPresenter::setNextAnswer(AlertFirstButtonReturn);
        rig.delegate->toggleWindowHorizontal(nullptr);
        rig.delegate->toggleWindowHorizontal(nullptr);
        QCOMPARE(told(), QStringList{"Your settings cannot be saved"});
        // A second sheet would be a real one.
        QVERIFY(!rig.window->findChild<AlertSheet*>());
    }

    // While lists shred, their zones ignore drags and refuse drops, the volumes screen and the
    // privacy scan wait, and closing asks; Ctrl+W does not ask.
    void whileListsShred()
    {
        MainWindowRig rig;
        rig.startShredding({1, 35});
        const ZoneOutlets zone = *rig.delegate->zoneOutlets(35);
        QTRY_COMPARE(zone.mainTF->text(), "..Shredding..");
        QCOMPARE(NamedImage::imageName(zone.addNewFilesBtn), "cancelShred");
        // A long name keeps both of its ends, and the look stays inside the ring.
        rig.delegate->setPassDescrTF(35, "archive-of-quarterly-results-for-2026.pdf");
        QVERIFY(zone.descrTF->text().startsWith("arch") && zone.descrTF->text().endsWith(".pdf"));
        for (const QLabel* label : {static_cast<QLabel*>(zone.mainTF), zone.descrTF})
            insideRing(zone, label);
        labelsFit(rig.window.get());
        QVERIFY(zone.clearRevealView->isHidden());
        const auto drag = MainWindowRig::fileDrag({rig.file("docs/second")});
        QVERIFY(MainWindowRig::dragEnter(zone.dropView, *drag));
        QCOMPARE(NamedImage::imageName(zone.addNewFilesBtn), "cancelShred");
        MainWindowRig::dragLeave(zone.dropView);
        QCOMPARE(zone.mainTF->text(), "..Shredding..");
        QVERIFY(MainWindowRig::drop(zone.dropView, *drag));
        QCOMPARE(rig.hud(),
                 "Adding files to this shredding task is not allowed while it's running");
        // Another zone still takes files meanwhile.
        QVERIFY(rig.dropFiles(7, {rig.file("docs/third")}));
        QCOMPARE(rig.list(7).size(), 1);

        for (const auto open : {&AppDelegate::eraseDiskSpace, &AppDelegate::privacyCleanUp}) {
            (rig.delegate.get()->*open)(nullptr);
            QCOMPARE(rig.hud(), "Please wait for shredding tasks to complete");
            QVERIFY(!rig.outlets().modalOverlay->isShown() &&
                    !rig.outlets().privScanView->isVisible());
        }
        AlertPresenter::takePresentedForTesting();
        AlertPresenter::setNextAnswer(AlertFirstButtonReturn);
        rig.window->performClose();
        QCoreApplication::processEvents();
        QVERIFY(rig.window->isVisible());
        QVERIFY(rig.delegate->shredTasks().isShredding(1) &&
                rig.delegate->shredTasks().isShredding(35));
        QCOMPARE(told(), QStringList{"One or more shredding operations are still running!"});

        rig.window->activateWindow();
        QTRY_VERIFY(rig.window->isActiveWindow());
        for (quint32 key : {Key::M, Key::H}) {
            rig.pressKey(key, Qt::ControlModifier);
            QTRY_VERIFY(rig.window->isMinimized());
            rig.window->showNormal();
        }
        rig.pressKey(Key::W, Qt::ControlModifier);
        QVERIFY(!rig.window->isVisible() && told().isEmpty());

        rig.window->show();
        AlertPresenter::setNextAnswer(AlertSecondButtonReturn);
        rig.window->performClose();
        QTRY_VERIFY(!rig.window->isVisible());
        QVERIFY(rig.waitUntilIdle(10000));
        // The helpers were stopped, so the items are still there and still listed.
        QVERIFY(QFile::exists(rig.home.filePath("docs/1.txt")));
        QTRY_COMPARE(rig.list(35).size(), 1);
    }

    void tearingDownStopsTheHelpersAndAnswersNoSheet()
    {
        MainWindowRig rig;
        rig.startShredding({1, 7});
        const qint64 helpers[] = {rig.delegate->shredTasks().shredTask(1)->processIdentifier(),
                                  rig.delegate->shredTasks().shredTask(7)->processIdentifier()};
        // The helpers have said what they remove; an answer is on its way to the main queue.
        for (qint64 id : {1, 7})
            QTRY_COMPARE(rig.delegate->zoneOutlets(id)->descrTF->text(),
                         QStringLiteral("%1.txt").arg(id));
        bool answered = false;
        AlertPresenter::setNextAnswer(AlertFirstButtonReturn);
        rig.delegate->beginSheetModal({"Question", {}, {"OK"}},
                                      [&answered](int) { answered = true; });
        AlertPresenter::takePresentedForTesting();
        rig.window.reset();
        rig.delegate.reset();
        for (qint64 helper : helpers)
            QVERIFY(::kill(pid_t(helper), 0) != 0 && errno == ESRCH);
        // What the runs left on the main queue finds nothing to paint.
        QCoreApplication::sendPostedEvents();
        QVERIFY(!answered);
    }

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

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
