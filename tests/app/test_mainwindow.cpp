// The main window from start-up to close: the start state, both layouts and the saved one, the
// shortcut table on QWERTY, AZERTY and Dvorak, the Secure Empty Trash popover, and the close
// sheet while a list shreds.

#include "MainWindowRig.h"
#include "app/Addresses.h"
#include "app/NamedImage.h"
#include "app/PrefsVC.h"
#include "app/SecureTrashPopover.h"
#include "engine/MountedVolumes.h"
#include "engine/UtilsSettings.h"
#include "kit/ProgressIndicator.h"
#include "kit/Tag.h"
#include "tests/UrlCatcher.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <cerrno>
#include <csignal>

using namespace tolvex;
using namespace tolvex::testing;

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    // The zone origins of a layout, in the order 1, 7, 35.
    static QList<QPoint> origins(MainWindowRig& rig)
    {
        return {rig.zone(1)->pos(), rig.zone(7)->pos(), rig.zone(35)->pos()};
    }

private Q_SLOTS:
    void init() { QApplication::setQuitOnLastWindowClosed(false); }

    void startsWithThreeEmptyZonesInARow()
    {
        MainWindowRig rig;
        rig.start();
        MainWindowOutlets& o = rig.outlets();
        QCOMPARE(rig.window->size(), QSize(500, 338));
        QVERIFY(o.titleBarStrTitleTF->isVisible());
        QCOMPARE(NamedImage::imageName(o.toggleHorizontalVerticalBtn),
                 QStringLiteral("horiz_Layout"));
        for (qint64 id : {1, 7, 35}) {
            const ZoneOutlets zone = *rig.delegate->zoneOutlets(id);
            QCOMPARE(zone.mainTF->text(), QStringLiteral("%1 - pass").arg(id));
            QVERIFY(zone.progIndicForFilesize->isHidden());
            QVERIFY(zone.clearRevealView->isHidden());
            for (QAbstractButton* button : zone.clearRevealView->findChildren<QAbstractButton*>())
                QVERIFY(!button->isEnabled());
            QCOMPARE(NamedImage::imageName(zone.addNewFilesBtn), QStringLiteral("AddNew"));
            QCOMPARE(tag(zone.addNewFilesBtn), id);
            QVERIFY(zone.indic->outerLineisDashed());
        }
        // A row around the content's centre, 16 apart (half the 32-point title bar).
        const QSize zoneSize = rig.zone(1)->size();
        const int y = 169 - zoneSize.height() / 2;
        QCOMPARE(origins(rig), QList<QPoint>({QPoint(250 - zoneSize.width() * 3 / 2 - 16, y),
                                              QPoint(250 - zoneSize.width() / 2, y),
                                              QPoint(250 + zoneSize.width() / 2 + 16, y)}));
    }

    void layoutSwitchesToAColumnAndBackKeepingTheBottomLeftCorner()
    {
        MainWindowRig rig;
        rig.start();
        rig.window->move(100, 300);
        const QRect horizontal = rig.window->geometry();
        const QList<QPoint> row = origins(rig);

        rig.delegate->toggleWindowHorizontal(rig.outlets().toggleHorizontalVerticalBtn);
        QCOMPARE(rig.window->size(), QSize(280, 620));
        QCOMPARE(rig.window->geometry().bottomLeft(), horizontal.bottomLeft());
        QVERIFY(Utils::windIsVert_cal());
        QCOMPARE(NamedImage::imageName(rig.outlets().toggleHorizontalVerticalBtn),
                 QStringLiteral("vert_Layout"));
        const QSize zoneSize = rig.zone(1)->size();
        const int x = 140 - zoneSize.width() / 2;
        const int middle = 310 - zoneSize.height() / 2;
        QTRY_COMPARE(origins(rig),
                     QList<QPoint>({QPoint(x, middle - zoneSize.height() - 16), QPoint(x, middle),
                                    QPoint(x, middle + zoneSize.height() + 16)}));
        QVERIFY(rig.zone(1)->isVisible() && rig.zone(35)->isVisible());

        rig.delegate->toggleWindowHorizontal(nullptr);
        QCOMPARE(rig.window->geometry(), horizontal);
        QVERIFY(!Utils::windIsVert_cal());
        QTRY_COMPARE(origins(rig), row);

        // Near the top of the screen the title bar stays on it.
        rig.window->move(100, 0);
        rig.delegate->toggleWindowHorizontal(nullptr);
        QCOMPARE(rig.window->geometry(), QRect(100, 0, 280, 620));

        // A column resized by hand counts as a row: the switch goes to the column.
        rig.window->setFixedSize(300, 640);
        rig.delegate->toggleWindowHorizontal(nullptr);
        QCOMPARE(rig.window->size(), QSize(280, 620));
    }

    void titleStaysClearOfTheTitleBarButtons()
    {
        MainWindowRig rig;
        rig.start();
        for (int layout = 0; layout < 2; ++layout) {
            QCoreApplication::processEvents();
            QLabel* title = rig.outlets().titleBarStrTitleTF;
            const QRect titleFrame(title->mapTo(rig.window.get(), QPoint()), title->size());
            QVERIFY(title->width() >=
                    title->fontMetrics().horizontalAdvance(QStringLiteral("Tolvex")));
            QList<QAbstractButton*> buttons = rig.window->standardButtons();
            buttons += rig.outlets().titlebar->findChildren<QAbstractButton*>();
            for (QAbstractButton* button : buttons) {
                const QRect frame(button->mapTo(rig.window.get(), QPoint()), button->size());
                QVERIFY2(!frame.intersects(titleFrame.adjusted(-4, 0, 4, 0)),
                         qPrintable(button->toolTip()));
            }
            rig.delegate->toggleWindowHorizontal(nullptr);
        }
    }

    void startsInTheSavedLayout()
    {
        MainWindowRig rig;
        Utils::windIsVert_calSave(true);
        rig.start();
        QCOMPARE(rig.window->size(), QSize(280, 620));
        QCOMPARE(NamedImage::imageName(rig.outlets().toggleHorizontalVerticalBtn),
                 QStringLiteral("vert_Layout"));
        QTRY_COMPARE(rig.zone(7)->pos().y(), 310 - rig.zone(7)->height() / 2);
    }

    void shortcutsFollowTheKeyboardLayout()
    {
        MainWindowRig rig;
        rig.start();

        // QWERTY: Ctrl with the key that types Q quits; the arrows switch the layout.
        rig.pressKey(Key::Q, Qt::ControlModifier);
        QTRY_COMPARE(rig.delegate->terminateRequests, 1);
        rig.pressKey(Key::Down, Qt::ControlModifier);
        QCOMPARE(rig.window->size(), QSize(280, 620));
        rig.pressKey(Key::Up, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(rig.window->size(), QSize(500, 338));
        rig.pressKey(Key::Comma, Qt::ControlModifier);
        JMModalOverlay* overlay = rig.outlets().modalOverlay;
        QVERIFY(overlay->isShown());
        QCOMPARE(overlay->contentViewController(),
                 rig.delegate->secondaryScreens().preferencesViewContr);
        overlay->close();

        // AZERTY: Q sits where QWERTY has A; the QWERTY Q position does nothing.
        KeyboardLayout::setForTesting(
            KeyboardInputSource{QStringLiteral("French (AZERTY)"), QStringLiteral("fr(azerty)")});
        rig.pressKey(Key::Q, Qt::ControlModifier);
        rig.pressKey(Key::A, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(rig.delegate->terminateRequests, 2);

        // Dvorak: Q sits where QWERTY has X.
        KeyboardLayout::setForTesting(
            KeyboardInputSource{QStringLiteral("English (Dvorak)"), QStringLiteral("us(dvorak)")});
        rig.pressKey(Key::A, Qt::ControlModifier);
        rig.pressKey(Key::X, Qt::ControlModifier);
        QTRY_COMPARE(rig.delegate->terminateRequests, 3);

        // Without Ctrl nothing happens; Return alone shreds everything, here nothing at all.
        rig.pressKey(Key::X);
        rig.pressKey(Key::Return, Qt::ShiftModifier);
        QCOMPARE(rig.hud(),
                 QStringLiteral("\n No files to shred \nPlease add some files to begin"));
        QCOMPARE(rig.delegate->terminateRequests, 3);
    }

    void ctrlMMinimisesAndCtrlWClosesWithoutAsking()
    {
        MainWindowRig rig;
        rig.startShredding({1});

        rig.window->activateWindow();
        QTRY_VERIFY(rig.window->isActiveWindow());
        rig.pressKey(Key::M, Qt::ControlModifier);
        QTRY_VERIFY(rig.window->isMinimized());
        rig.window->showNormal();
        rig.pressKey(Key::H, Qt::ControlModifier);
        QTRY_VERIFY(rig.window->isMinimized());
        rig.window->showNormal();

        rig.pressKey(Key::W, Qt::ControlModifier);
        QVERIFY(!rig.window->isVisible());
        QVERIFY(AlertPresenter::takePresentedForTesting().isEmpty());
    }

    void closeSheetWhileListsShred()
    {
        MainWindowRig rig;
        rig.startShredding({1, 35});
        AlertPresenter::takePresentedForTesting();

        AlertPresenter::setNextAnswer(AlertFirstButtonReturn);
        rig.window->performClose();
        QTest::qWait(50);
        QVERIFY(rig.window->isVisible());
        QVERIFY(rig.delegate->shredTasks().isShredding(1));
        QVERIFY(rig.delegate->shredTasks().isShredding(35));
        const QList<Alert> asked = AlertPresenter::takePresentedForTesting();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].messageText,
                 QStringLiteral("One or more shredding operations are still running!"));
        QCOMPARE(asked[0].buttons,
                 QStringList({QStringLiteral("Don't close"),
                              QStringLiteral("Close Window and terminate tasks")}));

        AlertPresenter::setNextAnswer(AlertSecondButtonReturn);
        rig.window->performClose();
        QTRY_VERIFY(!rig.window->isVisible());
        QVERIFY(rig.waitUntilIdle(10000));
        // The helpers were stopped, so the items are still there and still listed.
        QVERIFY(QFile::exists(rig.home.filePath(QStringLiteral("docs/1.txt"))));
        QTRY_COMPARE(rig.list(35).size(), 1);
    }

    void tearingDownWhileListsShredStopsTheirHelpers()
    {
        MainWindowRig rig;
        rig.startShredding({1, 7});
        const qint64 helpers[] = {rig.delegate->shredTasks().shredTask(1)->processIdentifier(),
                                  rig.delegate->shredTasks().shredTask(7)->processIdentifier()};
        // The helpers' first messages are on their way to the main queue.
        QTest::qWait(100);

        rig.window.reset();
        rig.delegate.reset();
        for (qint64 helper : helpers)
            QVERIFY(::kill(pid_t(helper), 0) != 0 && errno == ESRCH);
        // What the runs left on the main queue finds nothing to paint.
        QTest::qWait(100);
    }

    void sheetAnsweredAfterTheDelegateIsGoneReachesNoOne()
    {
        MainWindowRig rig;
        rig.start();
        bool answered = false;
        AlertPresenter::setNextAnswer(AlertFirstButtonReturn);
        rig.delegate->beginSheetModal({QStringLiteral("Question"), {}, {QStringLiteral("OK")}},
                                      [&answered](int) { answered = true; });
        AlertPresenter::takePresentedForTesting();
        rig.window.reset();
        rig.delegate.reset();
        QCoreApplication::sendPostedEvents();
        QVERIFY(!answered);
    }

    void closesAtOnceWhenNothingShreds()
    {
        MainWindowRig rig;
        rig.start();
        AlertPresenter::takePresentedForTesting();
        // The title bar's own view lies under the window's buttons.
        QAbstractButton* close = rig.window->standardButtons().first();
        QCOMPARE(rig.window->childAt(close->mapTo(rig.window.get(), close->rect().center())),
                 close);
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!rig.window->isVisible());
        QVERIFY(AlertPresenter::takePresentedForTesting().isEmpty());
        QVERIFY(AppDelegate::applicationShouldTerminateAfterLastWindowClosed());
    }

    void desktopRequestsReachTheWindow()
    {
        MainWindowRig rig;
        SingleInstance requests(rig.settings.path());
        rig.desktopRequests = &requests;
        rig.start();
        const QString erased = rig.file(QStringLiteral("docs/erase.txt"), 10);
        const QString opened = rig.file(QStringLiteral("docs/open.txt"), 10);

        // "Erase with Tolvex" and open-with both ask for the method; here 7- and then 35-pass.
        AlertPresenter::setNextAnswer(1002);
        Q_EMIT requests.eraseFilesRequested({erased});
        QTRY_COMPARE(rig.list(7), QStringList{erased});
        AlertPresenter::setNextAnswer(1001);
        Q_EMIT requests.openFilesRequested({opened});
        QTRY_COMPARE(rig.list(35), QStringList{opened});
        QCOMPARE(AlertPresenter::takePresentedForTesting().size(), 2);

        // Launching Tolvex again brings the window back.
        rig.window->showMinimized();
        QTRY_VERIFY(rig.window->isMinimized());
        Q_EMIT requests.reopenRequested();
        QTRY_VERIFY(!rig.window->isMinimized());
    }

    void titleBarMenuVisitsTheWebsite()
    {
        MainWindowRig rig;
        rig.start();
        UrlCatcher catcher({QStringLiteral("https")});
        QWidget* titlebar = rig.outlets().titlebar;
        QCOMPARE(titlebar->contextMenuPolicy(), Qt::ActionsContextMenu);
        titlebar->findChild<QAction*>(QStringLiteral("visitWebsiteAction"))->trigger();
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(QString(Addresses::homePage))});
    }

    void secureEmptyTrashPopoverTogglesAndShredsWithItsPass()
    {
        MainWindowRig rig;
        MountedVolumes::setForTesting(QList<MountedVolume>{{QStringLiteral("/"), QString()}});
        rig.start();
        MainWindowOutlets& o = rig.outlets();

        rig.pressKey(Key::Backspace, Qt::ControlModifier);
        QVERIFY(!o.secureTrashPopOver->isVisible());
        rig.pressKey(Key::Backspace, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(o.secureTrashPopOver->isVisible());
        const QPoint below =
            o.secEmptyTrashBtn->mapToGlobal(QPoint(0, o.secEmptyTrashBtn->height()));
        QCOMPARE(o.secureTrashPopOver->y(), below.y());
        rig.delegate->secureEmptyShowPop(o.secEmptyTrashBtn);
        QVERIFY(!o.secureTrashPopOver->isVisible());

        // An empty Trash: the popover closes with a notice.
        o.secEmptyTrashBtn->click();
        QVERIFY(o.secureTrashPopOver->isVisible());
        o.secureTrashPopOver->passButton(7)->click();
        QVERIFY(!o.secureTrashPopOver->isVisible());
        QCOMPARE(rig.hud(), QStringLiteral("Your Trash is Empty"));

        const QString trashed = rig.file(QStringLiteral(".local/share/Trash/files/old.txt"), 100);
        rig.file(QStringLiteral(".local/share/Trash/files/.hidden"), 10);
        o.secEmptyTrashBtn->click();
        o.secureTrashPopOver->passButton(7)->click();
        QTRY_VERIFY(!QFile::exists(trashed));
        QVERIFY(rig.waitUntilIdle());
        QTRY_COMPARE(rig.hud(), QStringLiteral("7-pass shredding is complete!"));
        QVERIFY(QDir(rig.home.filePath(QStringLiteral(".local/share/Trash/files"))).isEmpty());
        MountedVolumes::setForTesting(std::nullopt);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
