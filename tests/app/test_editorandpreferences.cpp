// The list editor and the preferences screens outside the window, over settings of the test's own.
#include "AnsweringSheets.h"
#include "app/EditFilePathsVC.h"
#include "app/MainWindowOutlets.h"
#include "app/PrefsVC.h"
#include "app/SecondaryScreens.h"
#include "app/Updater.h"
#include "app/destCellView.h"
#include "engine/UtilsSettings.h"
#include "kit/MIHSliderView.h"
#include "platform/UserDefaults.h"
#include "tests/UrlCatcher.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tolvex;

const ShredEntryDics fiveRecords{{"/h/u/a/alpha.txt", "alpha.txt", 1},
                                 {"/h/u/a/beta.txt", "beta.txt", 1},
                                 {"/h/u/b/gamma", "gamma", 7},
                                 {"/h/u/b/delta.png", "delta.png", 35},
                                 {"/h/u/b/epsilon", "epsilon", 35}};

constexpr int kNo = kAlertFirstButtonReturn + 1;

class TestEditorAndPreferences : public QObject {
    Q_OBJECT

    destCellView* row(int index)
    {
        return qobject_cast<destCellView*>(
            editor->destTablView->itemWidget(editor->destTablView->item(index)));
    }

    void removeRow(int index, int answer = kAlertFirstButtonReturn)
    {
        sheets.answers = {answer};
        row(index)->deleteDestBtn->click();
    }

    AnsweringSheets sheets{kNo};
    std::unique_ptr<EditFilePathsVC> editor;

    QTemporaryDir folder_;
    // What the screens open.
    testing::UrlCatcher opened_{{"http", "https", "mailto", "appstream"}};

private Q_SLOTS:
    void initTestCase()
    {
        UserDefaults::setStandardForTesting(folder_.filePath(QStringLiteral("settings.ini")));
    }

    void init()
    {
        opened_.urls.clear();
        sheets = AnsweringSheets(kNo);
        // Opened on the five records the way AppDelegate opens it.
        editor = std::make_unique<EditFilePathsVC>(sheets);
        editor->pathDicsArr = fiveRecords;
        editor->clearSearch();
        editor->titleLbl->setText(EditFilePathsVC::titleForCount(fiveRecords.size()));
    }

    void rowsShowTheRecordAndOnlyYesRemovesOne()
    {
        destCellView* cell = row(3);
        QCOMPARE(cell->textField->text() + cell->detailTextField->text() + cell->toolTip(),
                 QStringLiteral("delta.png35-pass/h/u/b/delta.png"));
        cell->mouseEntered();
        QVERIFY(cell->textField->font().underline() && cell->mouseInside());
        cell->mouseExited();
        cell->inactive = true;
        cell->mouseEntered();
        QVERIFY(!cell->textField->font().underline());

        removeRow(1, kNo);
        const auto& asked = sheets.shown.first();
        QCOMPARE(asked.messageText + '|' + asked.informativeText + '|' + asked.buttons.join('/'),
                 "Remove this file path from shredding list?|/h/u/a/beta.txt|YES/NO");
        QCOMPARE(editor->pathDicsArr.size(), 5);

        removeRow(1);
        QCOMPARE(editor->dicPathsToRemove, ShredEntryDics{fiveRecords[1]});
        QCOMPARE(editor->destTablView->count(), 4);
        // The title keeps its count until the list is empty.
        QCOMPARE(editor->titleLbl->text(), QStringLiteral("5 files added:"));
        for (int left = 4; left > 0; --left)
            removeRow(0);
        QCOMPARE(editor->titleLbl->text(), QStringLiteral("- Shredding list is Empty -"));
        QCOMPARE(editor->dicPathsToRemove.size(), 5);
    }

    // The search filters rows, and a row's button acts on the row as the search shows it. The
    // hand-back clears the search; clearing all takes the rows the search hides too.
    void searchHandBackAndClearAll()
    {
        // With nothing shown, clearing asks nothing and clears nothing.
        editor->searchField->setText(QStringLiteral("nothing matches this"));
        editor->clearAllPaths();
        QVERIFY(sheets.shown.isEmpty());
        editor->searchField->setText(QStringLiteral("ALPHA"));
        QCOMPARE(editor->destTablView->count(), 1);
        editor->searchField->setText(QStringLiteral("/h/u/b/"));
        removeRow(0);
        QCOMPARE(editor->dicPathsToRemove.first().filePath, QStringLiteral("/h/u/b/gamma"));

        std::pair<qint64, ShredEntryDics*> handed;
        editor->actionWithIndex = [&](qint64 tag, ShredEntryDics& removed) {
            handed = {tag, &removed};
        };
        editor->view()->findChild<QPushButton*>(QStringLiteral("doneButton"))->click();
        QCOMPARE(handed, std::pair(qint64(0), &editor->dicPathsToRemove));
        QCOMPARE(editor->destTablView->count(), 4);

        editor->searchField->setText(QStringLiteral("delta"));
        sheets.answers = {kAlertFirstButtonReturn};
        editor->clearAllPaths();
        QCOMPARE(sheets.shown.last().messageText + sheets.shown.last().informativeText,
                 QStringLiteral("Are you sure you want to clear the shredding list?"));
        QCOMPARE(editor->dicPathsToRemove.size(), 5);
        QCOMPARE(editor->titleLbl->text(), QStringLiteral("- Shredding list is Empty -"));
        editor->clearAllPaths();
        QCOMPARE(sheets.shown.size(), 2);
    }

    void totalsCheckboxTitleAndBindingsFollowTheSettings()
    {
        // The totals once there are some are the screens test's.
        QCOMPARE(SecondaryScreens::totalShredInfoText(), QStringLiteral("-no files shredded yet-"));

        PrefsVC_vert screen;
        for (const bool on : {true, false}) {
            screen.defShredCheckBtn->click();
            QCOMPARE(Utils::defShreddingEnbled(), on);
            QCOMPARE(screen.defShredCheckBtn->text(), on ? "" : "Default shredding method");
        }

        auto* methods = screen.view()->findChild<QComboBox*>(QStringLiteral("defShredMethodPopUp"));
        methods->setCurrentIndex(2);
        QCOMPARE(Utils::defShredMethodInd(), 2);
        UserDefaults::standard().setInteger(Utils::DefaultsKey::selectedDefShredMethodInd, 1);
        QCOMPARE(methods->currentIndex(), 1);
        UserDefaults::standard().setInteger(Utils::DefaultsKey::selectedDefShredMethodInd, 3);
        QCOMPARE(methods->currentIndex(), 0);
        UserDefaults::standard().setBool(Utils::DefaultsKey::quitOnAllComplete, true);
        QVERIFY(screen.view()
                    ->findChild<QCheckBox*>(QStringLiteral("quitOnAllCompleteCheckBtn"))
                    ->isChecked());
    }

    void linksSharesPopoverAndSlidesOfTheHorizontalScreen()
    {
        PrefsVC screen;
        for (qint64 tag : {0, 1, 2, 3}) {
            screen.buttonActionsWithTag(tag + 3, screen.view());
            screen.learnMoreAction(tag);
            screen.openAppMASFromPageSlide(tag);
        }
        screen.tellaFriend(1);
        screen.tellaFriend(4);
        QCOMPARE(opened_.urls.size(), 3 + 3 + 3 + 2);
        QCOMPARE(opened_.urls[1].host(), "nodewick.app");
        QCOMPARE(opened_.urls[2].scheme(), "appstream");
        QVERIFY(opened_.urls[9].toString().contains("Securely and permanently erase"));
        QVERIFY(opened_.urls.last().toEncoded().startsWith(
            "mailto:?Subject=Tolvex%20-%20file%20shredding%20utility&body="));

        screen.buttonActionsWithTag(1, screen.view());
        QVERIFY(screen.tellFriendPopOver->isVisible());
        screen.buttonActionsWithTag(1, screen.view());
        QVERIFY(!screen.tellFriendPopOver->isVisible());

        // A slide button shows only where there is a slide to go to.
        screen.sliderView->setScheduledTransition(false);
        QCOMPARE(screen.sliderView->slides(),
                 QList<QWidget*>({screen.slide3V, screen.slide1V, screen.slide2V}));
        const auto on = [](QWidget* button) { return !button->isHidden() && button->isEnabled(); };
        // A step, how often it is taken, and the slide and the buttons it leaves.
        for (const auto& [step, times, slide, previous, next] :
             {std::tuple{&PrefsVC::updateSlideButtons, 1, 0, false, true},
              {&PrefsVC::showNextSlide, 1, 1, true, true},
              {&PrefsVC::showNextSlide, 2, 2, true, false},
              {&PrefsVC::showPrevSlide, 3, 0, false, true}}) {
            for (int i = 0; i < times; ++i)
                (screen.*step)();
            QCOMPARE(screen.sliderView->indexOfDisplayedSlide(), slide);
            QCOMPARE(on(screen.prevSlideBtn), previous);
            QCOMPARE(on(screen.nextSlideBtn), next);
        }
    }

    void updateCheckTellsTheOutcome_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<QString>("message");
        QTest::newRow("newer") << QByteArray("9.0") << "A new version of Tolvex is available!";
        QTest::newRow("same") << QByteArray(TOLVEX_VERSION) << "You're up to date!";
        QTest::newRow("missing") << QByteArray() << "Update Error!";
    }

    void updateCheckTellsTheOutcome()
    {
        QFETCH(QByteArray, version);
        QFETCH(QString, message);
        // The feed is a file; without one the check fails as an unreachable server would.
        QFile feed(folder_.filePath(QTest::currentDataTag()));
        if (!version.isEmpty())
            QVERIFY(feed.open(QIODevice::WriteOnly) &&
                    feed.write("<rss xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/"
                               "sparkle\"><channel><item><enclosure url=\"https://tolvex.app/dl/" +
                               version + ".tar.gz\" sparkle:shortVersionString=\"" + version +
                               "\"/></item></channel></rss>") > 0);
        feed.close();
        AnsweringSheets sheets(kAlertFirstButtonReturn);
        Updater updater(sheets, QUrl::fromLocalFile(feed.fileName()));
        updater.checkForUpdates();
        QVERIFY(updater.isChecking());
        updater.checkForUpdates();
        QTRY_VERIFY_WITH_TIMEOUT(!updater.isChecking(), 20000);
        QCOMPARE(sheets.shown.size(), 1);
        QCOMPARE(sheets.shown.first().messageText, message);
        const bool newer = QTest::currentDataTag() == QByteArray("newer");
        QCOMPARE(sheets.shown.first().buttons.first() == "Download", newer);
        QCOMPARE(opened_.urls,
                 newer ? QList<QUrl>{QUrl("https://tolvex.app/dl/9.0.tar.gz")} : QList<QUrl>());
    }
};

QTEST_MAIN(TestEditorAndPreferences)
#include "test_editorandpreferences.moc"
