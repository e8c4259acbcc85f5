// Each screen of the real window opens in both layouts and closes by its own rules; every look
// leaves a screenshot in the build folder for a person to look at.
#include "MainWindowRig.h"
#include "app/EditFilePathsVC.h"
#include "app/PrefsVC.h"
#include "app/SecureTrashPopover.h"
#include "app/infoVC.h"
#include "engine/UtilsSettings.h"
#include "kit/FilePanelDialog.h"
#include "kit/JESCircularProgressView.h"
#include "kit/JMOverlayView.h"
#include "kit/MIHSliderDotsControl.h"
#include "kit/MIHSliderView.h"
#include "kit/MouseDownTextField.h"
#include "kit/PopoverPanel.h"
#include "tests/UrlCatcher.h"
#include "volumes/FreeSpaceEraseVC.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>

using namespace tolvex;
using tolvex::testing::MainWindowRig;

class TestScreens : public QObject {
    Q_OBJECT

    MainWindowRig rig_;
    testing::UrlCatcher mails_{{"mailto"}};

    JMModalOverlay* overlay() { return rig_.outlets().modalOverlay; }

    // The window, with the popup over it when there is one, as they stand on the screen.
    void screenshot(const QString& name, QWidget* popup = nullptr)
    {
        QCoreApplication::processEvents();
        QWidget* window = rig_.window.get();
        const QRect area = window->frameGeometry().united(popup ? popup->frameGeometry() : QRect());
        QPixmap shot(area.size());
        shot.fill(Qt::gray);
        QPainter painter(&shot);
        for (QWidget* part : {window, popup ? popup : window})
            painter.drawPixmap(part->pos() - area.topLeft(), part->grab());
        painter.end();
        MainWindowRig::saveScreenshot(shot, name);
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
        screenshot(name, popup);
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

    // Whether every control of the screen gets at least the room its text needs.
    static void verifyNothingIsCut(ViewController* screen)
    {
        QWidget* view = screen->view();
        QCoreApplication::processEvents();
        for (QWidget* part : view->findChildren<QWidget*>() + QList<QWidget*>{view}) {
            if (part != view && !part->isVisibleTo(view))
                continue;
            if (part->layout())
                QVERIFY2(part->size().expandedTo(part->layout()->minimumSize()) == part->size(),
                         qPrintable(part->objectName()));
            if (auto* button = qobject_cast<QAbstractButton*>(part);
                button && !button->text().isEmpty())
                QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
        }
    }

    // The overlay shows `screen`, photographed, nothing cut.
    void looksWhole(ViewController* screen, const QString& name)
    {
        QCOMPARE(overlay()->contentViewController(), screen);
        screenshot(name);
        verifyNothingIsCut(screen);
    }

private Q_SLOTS:
    // The window comes up in the layout saved last.
    void initTestCase()
    {
        Utils::windIsVert_calSave(true);
        rig_.start();
        QCOMPARE(rig_.window->size(), QSize(280, 620));
        QTRY_COMPARE(rig_.zone(7)->pos().y(), 310 - rig_.zone(7)->height() / 2);
        Utils::overWriteTotalShredInfoDic({1234567890, 42});
    }

    void screensInBothLayouts_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::newRow("horizontal") << false;
        QTest::newRow("vertical") << true;
    }

    void screensInBothLayouts()
    {
        QFETCH(bool, vertical);
        atTheRightEdge(vertical);
        SecondaryScreens& screens = rig_.delegate->secondaryScreens();
        screenshot("main");
        // The window's size is its layout's: it does not zoom.
        QVERIFY(!rig_.window->standardButtons()[2]->isEnabled());
        // Near the right edge of the screen, every popup stays whole on it, dark like the window.
        QTest::mouseClick(rig_.outlets().secEmptyTrashBtn, Qt::LeftButton);
        popupShot("trash-popover", rig_.outlets().secureTrashPopOver);
        rig_.outlets().secureTrashPopOver->hide();

        // The hover look shrinks the ring; the description's lines stay inside it.
        rig_.delegate->dragEnteredStateForPassViewWithTag(35);
        const ZoneOutlets zone = *rig_.delegate->zoneOutlets(35);
        const JESCircularProgressView* ring = zone.indic;
        const qreal scale = ring->bounds().width() / ring->width();
        const QPointF centre =
            ring->mapTo(zone.dropView, ring->bounds().topLeft() + ring->center() * scale);
        const qreal inner = (ring->radius() - ring->progressLineWidth() / 2.0) * scale;
        const QRectF text = zone.descrTF->fontMetrics().boundingRect(
            zone.descrTF->geometry(), int(zone.descrTF->alignment()), zone.descrTF->text());
        for (const QPointF corner :
             {text.topLeft(), text.topRight(), text.bottomLeft(), text.bottomRight()})
            QVERIFY(QLineF(centre, corner).length() < inner);
        screenshot("main-hover");
        rig_.delegate->dropViewExited({35, {}, {}});

        // The add panel says what it takes, and explains itself at every use: once a layout.
        QTest::mouseClick(rig_.outlets().addNewFilesBtn7.data(), Qt::LeftButton);
        auto* panel = rig_.window->findChild<FilePanelDialog*>();
        QTRY_VERIFY(panel && panel->isVisible());
        QCOMPARE(panel->windowTitle(), "Choose Files and Folders");
        QVERIFY(!panel->findChild<QWidget*>("fileTypeCombo")->isVisibleTo(panel));
        auto* explanation = panel->findChild<QLabel*>("addFileAccessoryView");
        QVERIFY(explanation && explanation->isVisibleTo(panel) && !explanation->text().isEmpty());
        MainWindowRig::saveScreenshot(panel->grab(), "add-panel");
        panel->reject();
        delete panel;

        // Volumes: the same screen in both layouts.
        rig_.delegate->eraseDiskSpace();
        FreeSpaceEraseVC* volumes = rig_.outlets().fse_VC;
        // A volume that may be reformatted, its figures as wide as they come, shows both buttons.
        VolDic backup;
        backup.dskName = "Backup";
        backup.dskFreeSpace_readable = backup.dskTotalSpace_readable =
            backup.dskOccupiedSpace_readable = "999.99 GB";
        volumes->setVolsDicsArr(volumes->volsDicsArr() + VolDics{backup});
        looksWhole(volumes, "volumes");
        rig_.window->findChild<QPushButton*>("closeButton")->click();

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
        verifyNothingIsCut(info);
        info->infoVCAction(3);
        QVERIFY(overlay()->isShown());
        QTest::mouseClick(overlay()->overlayView(), Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(!overlay()->isShown());
        rig_.delegate->showShredInfoHelp();
        info->view()->findChild<QPushButton*>("infoCloseButton")->click();
        QVERIFY(!overlay()->isShown());

        // Editor: opened from a zone's label, closed only through its Done button.
        const QString docs = rig_.home.filePath("Docs/");
        rig_.delegate->shredLists().setFilePathsArr(1, {docs + "report.pdf", docs + "archive"});
        rig_.delegate->shredLists().setFilePathsArr(35, {docs + "tax.xlsx"});
        QTest::mouseClick(rig_.delegate->outlets().sevenPassMainTF, Qt::LeftButton);
        EditFilePathsVC* editor = vertical
                                      ? static_cast<EditFilePathsVC*>(screens.editFPathsVC_vert)
                                      : screens.editFPathsVC;
        QCOMPARE(editor->titleLbl->text(), "3 files added:");
        // The search field looks the same with the focus: the screen draws no focus rings.
        const QImage unfocused = editor->searchField->grab().toImage();
        editor->searchField->setFocus();
        QTRY_VERIFY(editor->searchField->hasFocus());
        const QImage focused = editor->searchField->grab().toImage();
        for (int x = 0; x < focused.width(); ++x)
            QCOMPARE(focused.pixel(x, 0), unfocused.pixel(x, 0));
        looksWhole(editor, "editor");
        QTest::mouseClick(overlay()->overlayView(), Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(overlay()->isShown());
        editor->view()->findChild<QPushButton*>("doneButton")->click();
        QVERIFY(!overlay()->isShown());

        // Preferences: the totals, the version, and 111 closes.
        rig_.delegate->showPrefsAction();
        PreferencesScreen* prefs =
            vertical ? static_cast<PreferencesScreen*>(screens.preferencesViewContr_vert)
                     : screens.preferencesViewContr;
        QCOMPARE(prefs->totalShredInfoLbl->text(), "1.23 GB in 42 files");
        QCOMPARE(prefs->appVersionLbl->text(), QStringLiteral("v. " TOLVEX_VERSION));
        looksWhole(prefs, "preferences");
        if (!vertical) {
            // The slide show's page dots stay clear of the slide's buttons.
            MIHSliderView* slides = screens.preferencesViewContr->sliderView;
            const QRect dots = slides->dotsControl()->geometry();
            for (QAbstractButton* button : slides->findChildren<QAbstractButton*>())
                if (button->isVisibleTo(slides) && button->parentWidget() != slides->dotsControl())
                    QVERIFY(
                        !QRect(button->mapTo(slides, QPoint()), button->size()).intersects(dots));
        }
        prefs->view()->findChild<QPushButton*>("tellFriendButton")->click();
        popupShot("tell-a-friend", prefs->tellFriendPopOver);
        prefs->tellFriendPopOver->close();
        auto* methods = prefs->view()->findChild<QComboBox*>("defShredMethodPopUp");
        methods->showPopup();
        popupShot("method-list", methods->view()->window());
        methods->hidePopup();
        // Turning the default method off brings its title back, which must fit as well.
        prefs->defShredCheckBtn->click();
        verifyNothingIsCut(prefs);
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
};

QTEST_MAIN(TestScreens)
#include "test_screens.moc"
