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

ShredEntryDics fiveRecords()
{
    return {record("/h/u/a/alpha.txt", 1), record("/h/u/a/beta.txt", 1), record("/h/u/b/gamma", 7),
            record("/h/u/b/delta.png", 35), record("/h/u/b/epsilon", 35)};
}

} // namespace

class TestEditor : public QObject {
    Q_OBJECT

    // Opens the editor the way AppDelegate does.
    void open(EditFilePathsVC& editor, const ShredEntryDics& records)
    {
        editor.dicPathsToRemove.clear();
        editor.pathDicsArr = records;
        editor.clearSearch();
        editor.setTitleFont();
        editor.titleLbl->setText(EditFilePathsVC::titleForCount(records.size()));
    }

    destCellView* row(EditFilePathsVC& editor, int index)
    {
        return qobject_cast<destCellView*>(
            editor.destTablView->itemWidget(editor.destTablView->item(index)));
    }

private Q_SLOTS:
    void rowsShowNameMethodAndPath()
    {
        AnsweringSheets sheets(kAlertFirstButtonReturn + 1);
        EditFilePathsVC editor(sheets);
        open(editor, fiveRecords());
        QCOMPARE(editor.destTablView->count(), 5);
        destCellView* cell = row(editor, 3);
        QCOMPARE(cell->textField->text(), QStringLiteral("delta.png"));
        QCOMPARE(cell->detailTextField->text(), QStringLiteral("35-pass"));
        QCOMPARE(cell->toolTip(), QStringLiteral("/h/u/b/delta.png"));

        cell->mouseEntered();
        QVERIFY(cell->textField->font().underline());
        QVERIFY(cell->mouseInside());
        cell->mouseExited();
        QVERIFY(!cell->textField->font().underline());
        cell->inactive = true;
        cell->mouseEntered();
        QVERIFY(!cell->textField->font().underline());
    }

    void removalAsksAndOnlyYesRemoves()
    {
        AnsweringSheets sheets(kAlertFirstButtonReturn + 1);
        EditFilePathsVC editor(sheets);
        open(editor, fiveRecords());

        sheets.answers = {kAlertFirstButtonReturn + 1};
        row(editor, 1)->deleteDestBtn->click();
        QCOMPARE(sheets.shown.size(), 1);
        QCOMPARE(sheets.shown.first().messageText,
                 QStringLiteral("Remove this file path from shredding list?"));
        QCOMPARE(sheets.shown.first().informativeText, QStringLiteral("/h/u/a/beta.txt"));
        QCOMPARE(sheets.shown.first().buttons, QStringList({"YES", "NO"}));
        QCOMPARE(editor.pathDicsArr.size(), 5);

        sheets.answers = {kAlertFirstButtonReturn};
        row(editor, 1)->deleteDestBtn->click();
        QCOMPARE(editor.pathDicsArr.size(), 4);
        QCOMPARE(editor.dicPathsToRemove, ShredEntryDics{record("/h/u/a/beta.txt", 1)});
        QCOMPARE(editor.destTablView->count(), 4);
        // The title keeps its count until the list is empty.
        QCOMPARE(editor.titleLbl->text(), QStringLiteral("5 files added:"));

        for (int left = 4; left > 0; --left) {
            sheets.answers = {kAlertFirstButtonReturn};
            row(editor, 0)->deleteDestBtn->click();
        }
        QCOMPARE(editor.titleLbl->text(), QStringLiteral("- Shredding list is Empty -"));
        QCOMPARE(editor.dicPathsToRemove.size(), 5);
    }

    void searchFiltersAndClearAllTakesHiddenRowsToo()
    {
        AnsweringSheets sheets(kAlertFirstButtonReturn + 1);
        EditFilePathsVC editor(sheets);
        open(editor, fiveRecords());

        // With nothing shown, clearing asks nothing and clears nothing.
        editor.searchField->setText(QStringLiteral("nothing matches this"));
        editor.clearAllPaths();
        QVERIFY(sheets.shown.isEmpty());
        QCOMPARE(editor.pathDicsArr.size(), 5);

        editor.searchField->setText(QStringLiteral("ALPHA"));
        QCOMPARE(editor.destTablView->count(), 1);
        editor.searchField->setText(QStringLiteral("/h/u/b/"));
        QCOMPARE(editor.destTablView->count(), 3);

        // A row's buttons act on the row as the search shows it.
        sheets.answers = {kAlertFirstButtonReturn};
        row(editor, 0)->deleteDestBtn->click();
        QCOMPARE(editor.dicPathsToRemove.first().filePath, QStringLiteral("/h/u/b/gamma"));

        sheets.answers = {kAlertFirstButtonReturn};
        editor.clearAllPaths();
        QCOMPARE(sheets.shown.last().messageText,
                 QStringLiteral("Are you sure you want to clear the shredding list?"));
        QVERIFY(sheets.shown.last().informativeText.isEmpty());
        QVERIFY(editor.pathDicsArr.isEmpty());
        QCOMPARE(editor.dicPathsToRemove.size(), 5);
        QCOMPARE(editor.titleLbl->text(), QStringLiteral("- Shredding list is Empty -"));
        editor.clearAllPaths();
        QCOMPARE(sheets.shown.size(), 2);
    }

    void handBackClearsTheSearchAndPassesTheArrayItself()
    {
        AnsweringSheets sheets(kAlertFirstButtonReturn + 1);
        EditFilePathsVC_vert editor(sheets);
        open(editor, fiveRecords());
        sheets.answers = {kAlertFirstButtonReturn};
        row(editor, 2)->deleteDestBtn->click();

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
        open(editor, fiveRecords());
        QVERIFY(editor.dicPathsToRemove.isEmpty());
        QCOMPARE(editor.titleLbl->text(), QStringLiteral("5 files added:"));
    }
};

QTEST_MAIN(TestEditor)
#include "test_editor.moc"
