#include "AnsweringSheets.h"
#include "app/EditFilePathsVC.h"
#include "app/destCellView.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace tolvex;

const ShredEntryDics fiveRecords{{"/h/u/a/alpha.txt", "alpha.txt", 1},
                                 {"/h/u/a/beta.txt", "beta.txt", 1},
                                 {"/h/u/b/gamma", "gamma", 7},
                                 {"/h/u/b/delta.png", "delta.png", 35},
                                 {"/h/u/b/epsilon", "epsilon", 35}};

constexpr int kNo = kAlertFirstButtonReturn + 1;

class TestEditor : public QObject {
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

private Q_SLOTS:
    void init()
    {
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
};

QTEST_MAIN(TestEditor)
#include "test_editor.moc"
