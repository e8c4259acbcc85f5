// Every screen and state of the real window, in both layouts, with and without a compositor (and
// at the scale the test runs at), is photographed into the build folder for a person to look
// at; each photograph also checks that no text in it is cut, and each screen opens and closes by
// its own rules.
#include "MainWindowRig.h"
#include "app/EditFilePathsVC.h"
#include "app/NamedImage.h"
#include "app/PrefsVC.h"
#include "app/SecureTrashPopover.h"
#include "app/infoVC.h"
#include "engine/UtilsSettings.h"
#include "kit/AlphaValue.h"
#include "kit/CompositingMonitor.h"
#include "kit/FilePanelDialog.h"
#include "kit/Images.h"
#include "kit/JESCircularProgressView.h"
#include "kit/JMOverlayView.h"
#include "kit/MIHSliderDotsControl.h"
#include "kit/MIHSliderView.h"
#include "kit/MouseDownTextField.h"
#include "kit/PopoverPanel.h"
#include "kit/SlideTransition.h"
#include "privacy/Browsers.h"
#include "privacy/PrivScanVC.h"
#include "privacy/privCellView.h"
#include "tests/UrlCatcher.h"
#include "tests/kit/ClippedText.h"
#include "tests/kit/StandInCompositor.h"
#include "volumes/FreeSpaceEraseVC.h"
#include "volumes/volCellView.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QVariantAnimation>
#include <memory>

using namespace tolvex;
using tolvex::testing::MainWindowRig;
using tolvex::testing::StandInCompositor;

class TestScreens : public QObject {
    Q_OBJECT

    MainWindowRig rig_;
    testing::UrlCatcher mails_{{"mailto"}};
    std::unique_ptr<StandInCompositor> compositor_;

    JMModalOverlay* overlay() { return rig_.outlets().modalOverlay; }

    static QList<QWidget*> shownWindows()
    {
        QList<QWidget*> shown;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible())
                shown << window;
        return shown;
    }

    // Every window of the program as it stands on the screen, main window first, saved under
    // `name` with the scale and the compositor's state; no text in any of them is cut, unless
    // `whole` says the look cuts on purpose.
    void screenshot(const QString& name, bool whole = true)
    {
        QCoreApplication::processEvents();
        const QList<QWidget*> windows = shownWindows();
        QRect area = rig_.window->frameGeometry();
        for (const QWidget* window : windows)
            area |= window->frameGeometry();
        const qreal scale = rig_.window->devicePixelRatioF();
        QPixmap shot(area.size() * scale);
        shot.setDevicePixelRatio(scale);
        shot.fill(Qt::gray);
        QPainter painter(&shot);
        painter.drawPixmap(rig_.window->pos() - area.topLeft(), rig_.window->grab());
        for (QWidget* window : windows)
            if (window != rig_.window.get())
                painter.drawPixmap(window->pos() - area.topLeft(), window->grab());
        painter.end();
        MainWindowRig::saveScreenshot(
            shot, QStringLiteral("%1-x%2-%3")
                      .arg(name)
                      .arg(scale)
                      .arg(compositor_ ? QStringLiteral("composited") : QStringLiteral("opaque")));
        for (const QWidget* window : windows) {
            // One face for every text.
            for (const QWidget* part : window->findChildren<QWidget*>())
                QVERIFY2(!part->isVisible() ||
                             QFontInfo(part->font()).family().startsWith("Roboto"),
                         qPrintable(part->objectName()));
            if (whole)
                QVERIFY_NOTHING_CLIPPED(*window);
        }
    }

    // A popup lies on the window's screen, whole, in the window's dark palette; photographed.
    void popupShot(const QString& name, QWidget* popup)
    {
        QVERIFY(popup->isVisible());
        QVERIFY2(rig_.window->screen()->availableGeometry().contains(popup->frameGeometry()),
                 qPrintable(popup->objectName()));
        QCOMPARE(popup->palette().color(QPalette::Window),
                 rig_.window->palette().color(QPalette::Window));
        QVERIFY(popup->palette().color(QPalette::Window).lightness() < 64);
        screenshot(name);
    }

    // The button titled `title` of whatever the program asks (a sheet, the method chooser).
    static QAbstractButton* answer(const QString& title)
    {
        for (QWidget* window : shownWindows())
            for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
                if (button->isVisible() && button->text() == title)
                    return button;
        return nullptr;
    }

    // The window in the layout asked for, its right edge on the right edge of its screen.
    void atTheRightEdge(bool vertical)
    {
        if (Utils::windIsVert_cal() != vertical)
            rig_.delegate->toggleWindowHorizontal();
        const QRect screen = rig_.window->screen()->availableGeometry();
        rig_.window->move(screen.right() + 1 - rig_.window->width(), screen.top() + 40);
        // The zones glide to their places.
        QTRY_VERIFY(rig_.window->findChildren<QPropertyAnimation*>().isEmpty());
    }

    // The main window's zones: empty, under a drag, filled, shredding.
    void zoneLooks()
    {
        screenshot("main-idle");
        // The hover look shrinks the ring; its title, description and button stay inside it.
        rig_.delegate->dragEnteredStateForPassViewWithTag(35);
        const ZoneOutlets zone = *rig_.delegate->zoneOutlets(35);
        const JESCircularProgressView* ring = zone.indic;
        const qreal scale = ring->bounds().width() / ring->width();
        const QPointF centre =
            ring->mapTo(zone.dropView, ring->bounds().topLeft() + ring->center() * scale);
        const qreal inner = (ring->radius() - ring->progressLineWidth() / 2.0) * scale;
        for (const QLabel* label : {static_cast<QLabel*>(zone.mainTF), zone.descrTF}) {
            const QRectF text = label->fontMetrics().boundingRect(
                label->geometry(), int(label->alignment()), label->text());
            for (const QPointF corner :
                 {text.topLeft(), text.topRight(), text.bottomLeft(), text.bottomRight()})
                QVERIFY2(QLineF(centre, corner).length() < inner, qPrintable(label->text()));
        }
        const QAbstractButton* add = zone.addNewFilesBtn;
        QVERIFY(QLineF(centre, QRectF(add->geometry()).center()).length() +
                    add->iconSize().width() / 2.0 <
                inner);
        screenshot("main-hover");
        rig_.delegate->dropViewExited({35, {}, {}});

        QVERIFY(rig_.dropFiles(1, {rig_.file("Docs/quarterly-results-archive-2026.pdf", 4096),
                                   rig_.file("Docs/archive/notes.txt", 100)}));
        QVERIFY(rig_.dropFiles(35, {rig_.file("Docs/tax.xlsx", 20000)}));
        QTRY_COMPARE(rig_.delegate->shredLists().totalFilesPassCountNum(35), 1u);
        screenshot("main-dropped");

        rig_.clickStartButton();
        QTRY_COMPARE(NamedImage::imageName(zone.addNewFilesBtn), QStringLiteral("cancelShred"));
        // The helper announces the item it works on.
        QTRY_VERIFY(zone.mainTF->text() != QStringLiteral("1 file"));
        // The names of the items being shredded are the shredding look's to shorten.
        screenshot("main-shredding");
        for (qint64 id : {1, 35})
            QTest::mouseClick(rig_.delegate->zoneOutlets(id)->addNewFilesBtn, Qt::LeftButton);
        QVERIFY(rig_.waitUntilIdle());
        QTRY_COMPARE(zone.mainTF->text(), QStringLiteral("1 file"));

        MyHudAlert::alertWithWindow(rig_.window.get(), HudAlertType::success,
                                    "35-pass shredding is complete!");
        // It fades in.
        QTRY_VERIFY(
            MyHudAlert::sharedAlert()->window()->findChildren<QVariantAnimation*>().isEmpty());
        screenshot("hud");
        MyHudAlert::dismisWindow();
    }

    // A sheet and the method chooser, each answered by its own button.
    void questions()
    {
        rig_.delegate->showUserDeniedAccessAlert();
        QTRY_VERIFY(answer("OK"));
        screenshot("sheet");
        answer("OK")->click();
        QTRY_VERIFY(!answer("OK"));
        rig_.delegate->serviceMenuShred({rig_.file("Docs/letter.odt", 10)});
        QTRY_VERIFY(answer("Cancel"));
        screenshot("method-chooser");
        answer("Cancel")->click();
        QTRY_VERIFY(!answer("Cancel"));
    }

    void privacy(bool vertical)
    {
        rig_.delegate->privacyCleanUp();
        screenshot("privacy-scanning");
        // The rings fade with the greyed labels.
        const JESCircularProgressView* ring = rig_.delegate->zoneOutlets(7)->indic;
        QVERIFY(AlphaValue::alphaValue(ring) < 1.0);
        PrivScanVC* results = rig_.delegate->privScanVC(vertical);
        QTRY_COMPARE(overlay()->contentViewController(), results);
        const QString firefox = rig_.file(".local/share/applications/firefox.desktop",
                                          "[Desktop Entry]\nName=Firefox\nIcon=no-such-icon\n");
        PrivInfoDic installed{kFirefox.name, {}, {},       firefox, {}, CookiesDic{{}, 1234, {}},
                              25678,         12, QString()};
        PrivInfoDic emptied{kGoogleChrome.name, {}, {}, rig_.file("chrome.desktop", ""), {},
                            CookiesDic{},       0,  3,  QStringLiteral("1.2 MB")};
        PrivInfoDic absent;
        absent.kBrowserName = kOpera.name;
        absent.kBrowserNotInstalled = QStringLiteral("Not Installed");
        results->setBrowserDicsArr({installed, emptied, absent});
        screenshot("privacy-results");
        // Each browser shows a picture of its own, not a blank page.
        const auto* row = static_cast<privCellView*>(
            results->privTablView->itemWidget(results->privTablView->item(0)));
        QCOMPARE(row->brwIconBtn->icon().pixmap(32).toImage(),
                 imageNamed("firefox").pixmap(32).toImage());
        results->view()->findChild<QPushButton*>("closeButton")->click();
        QVERIFY(!overlay()->isShown());
        QCOMPARE(AlphaValue::alphaValue(ring), 1.0);
    }

    void volumes()
    {
        rig_.delegate->eraseDiskSpace();
        FreeSpaceEraseVC* volumes = rig_.outlets().fse_VC;
        // The start-up volume and one that may be reformatted, its figures as wide as they come.
        VolDic system;
        system.dskName = "System";
        system.dskPath = "/";
        VolDic backup;
        backup.dskName = "Backup";
        backup.dskRemovable = true;
        for (VolDic* volume : {&system, &backup})
            volume->dskFreeSpace_readable = volume->dskTotalSpace_readable =
                volume->dskOccupiedSpace_readable = "999.99 GB";
        volumes->setVolsDicsArr({system, backup});
        QCOMPARE(overlay()->contentViewController(), volumes);
        screenshot("volumes");
        // Both rows are laid out alike, the start-up volume's without its erase-and-format button.
        const auto rowOf = [volumes](int row) {
            return static_cast<volCellView*>(
                volumes->volsTablView->itemWidget(volumes->volsTablView->item(row)));
        };
        QCOMPARE(rowOf(0)->size(), rowOf(1)->size());
        QCOMPARE(rowOf(0)->volName->geometry(), rowOf(1)->volName->geometry());
        rig_.window->findChild<QPushButton*>("closeButton")->click();
    }

private Q_SLOTS:
    // The window comes up in the layout saved last, with a helper that shreds nothing and waits.
    void initTestCase()
    {
        Utils::windIsVert_calSave(true);
        const QString slow =
            rig_.file("slow-tolx", "#!/bin/sh\necho \"removing $(tr '\\0' '\\n' | tail -n 1)\"\n"
                                   "exec sleep 60\n");
        QVERIFY(QFile::setPermissions(slow, QFile::ReadOwner | QFile::ExeOwner));
        rig_.start(slow);
        // Fields take the focus only in the active window.
        rig_.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(rig_.window.get()));
        QCOMPARE(rig_.window->size(), QSize(280, 620));
        QTRY_COMPARE(rig_.zone(7)->pos().y(), 299 - rig_.zone(7)->height() / 2);
        Utils::overWriteTotalShredInfoDic({1234567890, 42});
        // The promotion stays on a slide while it is photographed.
        rig_.delegate->secondaryScreens().preferencesViewContr->sliderView->setScheduledTransition(
            false);
    }

    void everyScreen_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<bool>("composited");
        for (const bool composited : {false, true}) {
            QTest::addRow("horizontal, %s", composited ? "composited" : "opaque")
                << false << composited;
            QTest::addRow("vertical, %s", composited ? "composited" : "opaque")
                << true << composited;
        }
    }

    void everyScreen()
    {
        QFETCH(bool, vertical);
        QFETCH(bool, composited);
        compositor_.reset(composited ? new StandInCompositor : nullptr);
        QTRY_COMPARE(CompositingMonitor::instance()->composites(), composited);
        atTheRightEdge(vertical);
        SecondaryScreens& screens = rig_.delegate->secondaryScreens();
        // The window's size is its layout's: it does not zoom.
        QVERIFY(!rig_.window->standardButtons()[2]->isEnabled());
        // Near the right edge of the screen, every popup stays whole on it, dark like the window.
        QTest::mouseClick(rig_.outlets().secEmptyTrashBtn, Qt::LeftButton);
        popupShot("trash-popover", rig_.outlets().secureTrashPopOver);
        rig_.outlets().secureTrashPopOver->hide();

        zoneLooks();
        if (QTest::currentTestFailed())
            return;
        questions();
        if (QTest::currentTestFailed())
            return;

        // The add panel says what it takes, and explains itself at every use: once a layout.
        QTest::mouseClick(rig_.outlets().addNewFilesBtn7.data(), Qt::LeftButton);
        auto* panel = rig_.window->findChild<FilePanelDialog*>();
        QTRY_VERIFY(panel && panel->isVisible());
        QCOMPARE(panel->windowTitle(), "Choose Files and Folders");
        QVERIFY(!panel->findChild<QWidget*>("fileTypeCombo")->isVisibleTo(panel));
        auto* explanation = panel->findChild<QLabel*>("addFileAccessoryView");
        QVERIFY(explanation && explanation->isVisibleTo(panel) && !explanation->text().isEmpty());
        screenshot("add-panel");
        panel->reject();
        delete panel;

        volumes();
        if (QTest::currentTestFailed())
            return;
        privacy(vertical);
        if (QTest::currentTestFailed())
            return;

        // Information: a tag other than 0 keeps it, a click on the dimmed background closes it.
        rig_.delegate->showShredInfoHelp();
        infoVC* info = vertical ? screens.informVC_vert : screens.informVC;
        QVERIFY(overlay()->isShown() && overlay()->contentViewController() == info);
        // Only the narrow screen has room for the article link.
        QCOMPARE(info->view()->findChild<QPushButton*>("articleButton") != nullptr, vertical);
        // An alert shows over the screen.
        MyHudAlert::alertWithWindow(rig_.window.get(), HudAlertType::busy, "...");
        const QObjectList stack = rig_.window->children();
        QVERIFY(stack.indexOf(MyHudAlert::sharedAlert()->window()) >
                stack.indexOf(overlay()->modalWindow()));
        screenshot("information");
        MyHudAlert::dismisWindow();
        info->infoVCAction(3);
        QVERIFY(overlay()->isShown());
        QTest::mouseClick(overlay()->overlayView(), Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(!overlay()->isShown());
        rig_.delegate->showShredInfoHelp();
        info->view()->findChild<QPushButton*>("infoCloseButton")->click();
        QVERIFY(!overlay()->isShown());

        // Editor: opened from a zone's label, closed only through its Done button.
        QTest::mouseClick(rig_.delegate->outlets().sevenPassMainTF, Qt::LeftButton);
        EditFilePathsVC* editor = vertical
                                      ? static_cast<EditFilePathsVC*>(screens.editFPathsVC_vert)
                                      : screens.editFPathsVC;
        QCOMPARE(editor->titleLbl->text(), "3 files added:");
        // The search field looks the same with the focus: the screen draws no focus rings.
        const QImage unfocused = editor->searchField->grab().toImage();
        editor->searchField->window()->activateWindow();
        editor->searchField->setFocus();
        QTRY_VERIFY(editor->searchField->hasFocus());
        const QImage focused = editor->searchField->grab().toImage();
        for (int x = 0; x < focused.width(); ++x)
            QCOMPARE(focused.pixel(x, 0), unfocused.pixel(x, 0));
        screenshot("editor");
        QTest::mouseClick(overlay()->overlayView(), Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(overlay()->isShown());
        editor->view()->findChild<QPushButton*>("doneButton")->click();
        QVERIFY(!overlay()->isShown());

        // Preferences: the totals (the runs above add theirs), the version, and 111 closes.
        rig_.delegate->showPrefsAction();
        PreferencesScreen* prefs =
            vertical ? static_cast<PreferencesScreen*>(screens.preferencesViewContr_vert)
                     : screens.preferencesViewContr;
        QVERIFY(prefs->totalShredInfoLbl->text().endsWith(
            QStringLiteral(" GB in %1 files")
                .arg(*Utils::getTotalShredInfoDic()->shredFilesCount)));
        QCOMPARE(prefs->appVersionLbl->text(), QStringLiteral("v. " TOLVEX_VERSION));
        screenshot("preferences");
        if (!vertical) {
            // The slide show's page dots stay clear of the slide's buttons; a slide button is
            // offered only where there is a slide to go to, whoever moved the show.
            PrefsVC* horizontal = screens.preferencesViewContr;
            MIHSliderView* slides = horizontal->sliderView;
            const QRect dots = slides->dotsControl()->geometry();
            for (QAbstractButton* button : slides->findChildren<QAbstractButton*>())
                if (button->isVisibleTo(slides) && button->parentWidget() != slides->dotsControl())
                    QVERIFY(
                        !QRect(button->mapTo(slides, QPoint()), button->size()).intersects(dots));
            for (const qsizetype index : {1, 2, 0}) {
                slides->displaySlideAtIndex(index);
                QCOMPARE(horizontal->prevSlideBtn->isVisible(), index > 0);
                QCOMPARE(horizontal->nextSlideBtn->isVisible(), index < 2);
            }
            QTRY_VERIFY(!slides->findChild<SlideTransition*>());
        }
        prefs->view()->findChild<QPushButton*>("tellFriendButton")->click();
        popupShot("tell-a-friend", prefs->tellFriendPopOver);
        prefs->tellFriendPopOver->close();
        auto* methods = prefs->view()->findChild<QComboBox*>("defShredMethodPopUp");
        methods->showPopup();
        popupShot("method-list", methods->view()->window());
        methods->hidePopup();
        // Turning the default method off brings its title back, which must fit as well; the box
        // keeps its height either way.
        const int height = prefs->defShredCheckBtn->height();
        prefs->defShredCheckBtn->click();
        screenshot("preferences-default-method");
        QCOMPARE(prefs->defShredCheckBtn->height(), height);
        prefs->defShredCheckBtn->click();
        prefs->prefsVCAction(111);
        QVERIFY(!overlay()->isShown());

        // Support closes the screen, then writes to us.
        rig_.delegate->showPrefsAction();
        prefs->view()->findChild<QPushButton*>("supportButton")->click();
        QVERIFY(!overlay()->isShown());
        QVERIFY2(mails_.urls.value(0).toEncoded().startsWith(
                     "mailto:support@tolvex.app?Subject=Tolvex%20Support%20and%20Feedback&body="
                     "%0A%0A%0A%0ATolvex%20"),
                 mails_.urls.value(0).toEncoded().constData());
        mails_.urls.clear();
    }

    // The next state starts from an empty window whatever this one left.
    void cleanup()
    {
        if (overlay()->isShown())
            overlay()->close();
        rig_.delegate->applyIdleLook();
        for (qint64 id : {1, 7, 35})
            rig_.delegate->zoneOutlets(id)->clearRevealView->findChild<QAbstractButton*>()->click();
    }
};

QTEST_MAIN(TestScreens)
#include "test_screens.moc"
