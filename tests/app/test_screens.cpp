// The secondary screens in the real window: each opens in the overlay in both layouts, closes
// by its own rules, and leaves a screenshot in the build folder for a person to look at.
#include "MainWindowRig.h"
#include "app/EditFilePathsVC.h"
#include "app/PrefsVC.h"
#include "app/infoVC.h"
#include "engine/UtilsSettings.h"
#include "kit/JMOverlayView.h"
#include "kit/MIHSliderDotsControl.h"
#include "kit/MIHSliderView.h"
#include "kit/MouseDownTextField.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>

using namespace tolvex;
using tolvex::testing::MainWindowRig;

class TestScreens : public QObject {
    Q_OBJECT

    MainWindowRig rig_;

    JMModalOverlay* overlay() { return rig_.outlets().modalOverlay; }

    void screenshot(const QString& name)
    {
        QCoreApplication::processEvents();
        const QString folder = QStringLiteral(TOLVEX_SCREENSHOT_DIR);
        QDir().mkpath(folder);
        QVERIFY(rig_.window->grab().save(QDir(folder).filePath(name + QStringLiteral(".png"))));
    }

    // Whether every control of the screen gets at least the room its text needs.
    static void verifyNothingIsCut(ViewController* screen)
    {
        QWidget* view = screen->view();
        QCoreApplication::processEvents();
        const QSize needed = view->layout()->minimumSize();
        QVERIFY2(needed.width() <= view->width() && needed.height() <= view->height(),
                 qPrintable(QStringLiteral("%1 needs %2x%3, has %4x%5")
                                .arg(view->objectName())
                                .arg(needed.width())
                                .arg(needed.height())
                                .arg(view->width())
                                .arg(view->height())));
        for (QWidget* part : view->findChildren<QWidget*>()) {
            if (part->isVisibleTo(view) && part->layout())
                QVERIFY2(part->layout()->minimumSize().width() <= part->width() &&
                             part->layout()->minimumSize().height() <= part->height(),
                         qPrintable(part->objectName()));
        }
        for (QAbstractButton* button : view->findChildren<QAbstractButton*>()) {
            if (button->isVisibleTo(view) && !button->text().isEmpty())
                QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
        }
    }

    QString layoutName() const { return Utils::windIsVert_cal() ? "vertical" : "horizontal"; }

private Q_SLOTS:
    void initTestCase()
    {
        rig_.start();
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
        if (Utils::windIsVert_cal() != vertical) {
            rig_.delegate->toggleWindowHorizontal();
        }
        QCOMPARE(Utils::windIsVert_cal(), vertical);
        SecondaryScreens& screens = rig_.delegate->secondaryScreens();

        // Information: a tag other than 0 keeps it, a click on the dimmed background closes it.
        rig_.delegate->showShredInfoHelp();
        infoVC* info = vertical ? screens.informVC_vert : screens.informVC;
        QVERIFY(overlay()->isShown());
        QCOMPARE(overlay()->contentViewController(), info);
        QCOMPARE(info->view()->findChild<QPushButton*>(QStringLiteral("articleButton")) != nullptr,
                 vertical);
        QCOMPARE(info->ShredingMethodsTitle->font().pixelSize(), 18);
        screenshot(QStringLiteral("information-") + layoutName());
        verifyNothingIsCut(info);
        info->infoVCAction(3);
        QVERIFY(overlay()->isShown());
        QTest::mouseClick(overlay()->overlayView(), Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(!overlay()->isShown());
        rig_.delegate->showShredInfoHelp();
        info->view()->findChild<QPushButton*>(QStringLiteral("infoCloseButton"))->click();
        QVERIFY(!overlay()->isShown());

        // Editor: opened from a zone's label, closed only through its Done button.
        rig_.delegate->shredLists().setFilePathsArr(
            1, {rig_.home.filePath(QStringLiteral("Docs/report.pdf")),
                rig_.home.filePath(QStringLiteral("Docs/archive"))});
        rig_.delegate->shredLists().setFilePathsArr(
            35, {rig_.home.filePath(QStringLiteral("Docs/tax.xlsx"))});
        QTest::mouseClick(rig_.delegate->outlets().sevenPassMainTF, Qt::LeftButton);
        EditFilePathsVC* editor = vertical
                                      ? static_cast<EditFilePathsVC*>(screens.editFPathsVC_vert)
                                      : screens.editFPathsVC;
        QCOMPARE(overlay()->contentViewController(), editor);
        QCOMPARE(editor->titleLbl->text(), QStringLiteral("3 files added:"));
        QCOMPARE(editor->destTablView->count(), 3);
        screenshot(QStringLiteral("editor-") + layoutName());
        verifyNothingIsCut(editor);
        QTest::mouseClick(overlay()->overlayView(), Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(overlay()->isShown());
        editor->view()->findChild<QPushButton*>(QStringLiteral("doneButton"))->click();
        QVERIFY(!overlay()->isShown());

        // Preferences: the totals, the version, and 111 closes.
        rig_.delegate->showPrefsAction();
        PreferencesScreen* prefs =
            vertical ? static_cast<PreferencesScreen*>(screens.preferencesViewContr_vert)
                     : screens.preferencesViewContr;
        QCOMPARE(overlay()->contentViewController(), prefs);
        QCOMPARE(prefs->totalShredInfoLbl->text(), QStringLiteral("1.23 GB in 42 files"));
        QCOMPARE(prefs->appVersionLbl->text(), QStringLiteral("v. " TOLVEX_VERSION));
        screenshot(QStringLiteral("preferences-") + layoutName());
        verifyNothingIsCut(prefs);
        if (!vertical) {
            // The slide show's page dots stay clear of the slide's buttons.
            MIHSliderView* slides = screens.preferencesViewContr->sliderView;
            const QRect dots = slides->dotsControl()->geometry();
            for (QAbstractButton* button : slides->findChildren<QAbstractButton*>()) {
                if (button->isVisibleTo(slides) && button->parentWidget() != slides->dotsControl())
                    QVERIFY(
                        !QRect(button->mapTo(slides, QPoint()), button->size()).intersects(dots));
            }
        }
        // Turning the default method off brings its title back, which must fit as well.
        prefs->defShredCheckBtn->click();
        verifyNothingIsCut(prefs);
        prefs->defShredCheckBtn->click();
        prefs->prefsVCAction(111);
        QVERIFY(!overlay()->isShown());
    }
};

QTEST_MAIN(TestScreens)
#include "test_screens.moc"
