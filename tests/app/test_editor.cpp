#include "AnsweringSheets.h"
#include "app/EditFilePathsVC.h"
#include "app/destCellView.h"
#include "engine/SheetPresenter.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace tolvex;

namespace {

ShredEntryDic record(const QString& path, qint64 pass)
{
    return {path, path.section(QLatin1Char('/'), -1), pass};
}

const ShredEntryDics fiveRecords{record("/h/u/a/alpha.txt", 1), record("/h/u/a/beta.txt", 1),
                                 record("/h/u/b/gamma", 7), record("/h/u/b/delta.png", 35),
                                 record("/h/u/b/epsilon", 35)};

constexpr int kNo = kAlertFirstButtonReturn + 1;

} // namespace

class TestEditor : public QObject {
    Q_OBJECT

    // Opens the editor on the five records the way AppDelegate does.
    void open(EditFilePathsVC& editor)
    {
        editor.dicPathsToRemove.clear();
        editor.pathDicsArr = fiveRecords;
        editor.clearSearch();
        editor.setTitleFont();
        editor.titleLbl->setText(EditFilePathsVC::titleForCount(fiveRecords.size()));
    }

    destCellView* row(EditFilePathsVC& editor, int index)
    {
        return qobject_cast<destCellView*>(
            editor.destTablView->itemWidget(editor.destTablView->item(index)));
    }

    // Presses a row's remove button and answers the question with `answer`.
    void removeRow(EditFilePathsVC& editor, int index, int answer = kAlertFirstButtonReturn)
    {
        sheets.answers = {answer};
        row(editor, index)->deleteDestBtn->click();
    }

    AnsweringSheets sheets{kNo};

private Q_SLOTS:
    void init() { sheets = AnsweringSheets(kNo); }

    void rowsShowTheRecordAndOnlyYesRemovesOne()
    {
        EditFilePathsVC editor(sheets);
        open(editor);
        destCellView* cell = row(editor, 3);
        QCOMPARE(cell->textField->text(), QStringLiteral("delta.png"));
        QCOMPARE(cell->detailTextField->text(), QStringLiteral("35-pass"));
        QCOMPARE(cell->toolTip(), QStringLiteral("/h/u/b/delta.png"));
        cell->mouseEntered();
        QVERIFY(cell->textField->font().underline() && cell->mouseInside());
        cell->mouseExited();
        cell->inactive = true;
        cell->mouseEntered();
        QVERIFY(!cell->textField->font().underline());

        removeRow(editor, 1, kNo);
        QCOMPARE(sheets.shown.first().messageText,
                 QStringLiteral("Remove this file path from shredding list?"));
        QCOMPARE(sheets.shown.first().informativeText, QStringLiteral("/h/u/a/beta.txt"));
        QCOMPARE(sheets.shown.first().buttons, QStringList({"YES", "NO"}));
        QCOMPARE(editor.pathDicsArr.size(), 5);

        removeRow(editor, 1);
        QCOMPARE(editor.dicPathsToRemove, ShredEntryDics{record("/h/u/a/beta.txt", 1)});
        QCOMPARE(editor.destTablView->count(), 4);
        // The title keeps its count until the list is empty.
        QCOMPARE(editor.titleLbl->text(), QStringLiteral("5 files added:"));
        for (int left = 4; left > 0; --left)
            removeRow(editor, 0);
        QCOMPARE(editor.titleLbl->text(), QStringLiteral("- Shredding list is Empty -"));
        QCOMPARE(editor.dicPathsToRemove.size(), 5);
    }

    void searchFiltersAndClearAllTakesHiddenRowsToo()
    {
        EditFilePathsVC editor(sheets);
        open(editor);
        // With nothing shown, clearing asks nothing and clears nothing.
        editor.searchField->setText(QStringLiteral("nothing matches this"));
        editor.clearAllPaths();
        QVERIFY(sheets.shown.isEmpty());

        editor.searchField->setText(QStringLiteral("ALPHA"));
        QCOMPARE(editor.destTablView->count(), 1);
        editor.searchField->setText(QStringLiteral("/h/u/b/"));
        QCOMPARE(editor.destTablView->count(), 3);
        // A row's buttons act on the row as the search shows it.
        removeRow(editor, 0);
        QCOMPARE(editor.dicPathsToRemove.first().filePath, QStringLiteral("/h/u/b/gamma"));

        sheets.answers = {kAlertFirstButtonReturn};
        editor.clearAllPaths();
        QCOMPARE(sheets.shown.last().messageText,
                 QStringLiteral("Are you sure you want to clear the shredding list?"));
        QVERIFY(sheets.shown.last().informativeText.isEmpty());
        QCOMPARE(editor.dicPathsToRemove.size(), 5);
        QCOMPARE(editor.titleLbl->text(), QStringLiteral("- Shredding list is Empty -"));
        editor.clearAllPaths();
        QCOMPARE(sheets.shown.size(), 2);
    }

    void handBackClearsTheSearchAndPassesTheArrayItself()
    {
        EditFilePathsVC_vert editor(sheets);
        open(editor);
        removeRow(editor, 2);
        editor.searchField->setText(QStringLiteral("beta"));
        qint64 handedTag = -1;
        ShredEntryDics* handed = nullptr;
        editor.actionWithIndex = [&](qint64 tag, ShredEntryDics& removed) {
            handedTag = tag;
            handed = &removed;
        };
        editor.view()->findChild<QPushButton*>(QStringLiteral("doneButton"))->click();
        QCOMPARE(handedTag, 0);
        QCOMPARE(handed, &editor.dicPathsToRemove);
        QVERIFY(editor.searchField->text().isEmpty());
        QCOMPARE(editor.destTablView->count(), 4);

        // Opening again starts afresh.
        open(editor);
        QVERIFY(editor.dicPathsToRemove.isEmpty());
        QCOMPARE(editor.titleLbl->text(), QStringLiteral("5 files added:"));
    }
};

QTEST_MAIN(TestEditor)
#include "test_editor.moc"
