#include "AnsweringSheets.h"
#include "app/EditFilePathsVC.h"
#include "app/destCellView.h"

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
    void open()
    {
        editor->dicPathsToRemove.clear();
        editor->pathDicsArr = fiveRecords;
        editor->clearSearch();
        editor->setTitleFont();
        editor->titleLbl->setText(EditFilePathsVC::titleForCount(fiveRecords.size()));
    }

    destCellView* row(int index)
    {
        return qobject_cast<destCellView*>(
            editor->destTablView->itemWidget(editor->destTablView->item(index)));
    }

    // Presses a row's remove button and answers the question with `answer`.
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
        editor = std::make_unique<EditFilePathsVC>(sheets);
        open();
    }

    void rowsShowTheRecordAndOnlyYesRemovesOne()
    {
        destCellView* cell = row(3);
        QCOMPARE(cell->textField->text(), QStringLiteral("delta.png"));
        QCOMPARE(cell->detailTextField->text(), QStringLiteral("35-pass"));
        QCOMPARE(cell->toolTip(), QStringLiteral("/h/u/b/delta.png"));
        cell->mouseEntered();
        QVERIFY(cell->textField->font().underline() && cell->mouseInside());
        cell->mouseExited();
        cell->inactive = true;
        cell->mouseEntered();
        QVERIFY(!cell->textField->font().underline());

        removeRow(1, kNo);
        QCOMPARE(sheets.shown.first().messageText,
                 QStringLiteral("Remove this file path from shredding list?"));
        QCOMPARE(sheets.shown.first().informativeText, QStringLiteral("/h/u/a/beta.txt"));
        QCOMPARE(sheets.shown.first().buttons, QStringList({"YES", "NO"}));
        QCOMPARE(editor->pathDicsArr.size(), 5);

        removeRow(1);
        QCOMPARE(editor->dicPathsToRemove, ShredEntryDics{record("/h/u/a/beta.txt", 1)});
        QCOMPARE(editor->destTablView->count(), 4);
        // The title keeps its count until the list is empty.
        QCOMPARE(editor->titleLbl->text(), QStringLiteral("5 files added:"));
        for (int left = 4; left > 0; --left)
            removeRow(0);
        QCOMPARE(editor->titleLbl->text(), QStringLiteral("- Shredding list is Empty -"));
        QCOMPARE(editor->dicPathsToRemove.size(), 5);
    }

    void searchFiltersAndClearAllTakesHiddenRowsToo()
    {
        // With nothing shown, clearing asks nothing and clears nothing.
        editor->searchField->setText(QStringLiteral("nothing matches this"));
        editor->clearAllPaths();
        QVERIFY(sheets.shown.isEmpty());

        editor->searchField->setText(QStringLiteral("ALPHA"));
        QCOMPARE(editor->destTablView->count(), 1);
        editor->searchField->setText(QStringLiteral("/h/u/b/"));
        QCOMPARE(editor->destTablView->count(), 3);
        // A row's buttons act on the row as the search shows it.
        removeRow(0);
        QCOMPARE(editor->dicPathsToRemove.first().filePath, QStringLiteral("/h/u/b/gamma"));

        sheets.answers = {kAlertFirstButtonReturn};
        editor->clearAllPaths();
        QCOMPARE(sheets.shown.last().messageText,
                 QStringLiteral("Are you sure you want to clear the shredding list?"));
        QVERIFY(sheets.shown.last().informativeText.isEmpty());
        QCOMPARE(editor->dicPathsToRemove.size(), 5);
        QCOMPARE(editor->titleLbl->text(), QStringLiteral("- Shredding list is Empty -"));
        editor->clearAllPaths();
        QCOMPARE(sheets.shown.size(), 2);
    }

    void handBackClearsTheSearchAndPassesTheArrayItself()
    {
        editor = std::make_unique<EditFilePathsVC_vert>(sheets);
        open();
        removeRow(2);
        editor->searchField->setText(QStringLiteral("beta"));
        ShredEntryDics* handed = nullptr;
        editor->actionWithIndex = [&](qint64 tag, ShredEntryDics& removed) {
            QCOMPARE(tag, 0);
            handed = &removed;
        };
        editor->view()->findChild<QPushButton*>(QStringLiteral("doneButton"))->click();
        QCOMPARE(handed, &editor->dicPathsToRemove);
        QVERIFY(editor->searchField->text().isEmpty());
        QCOMPARE(editor->destTablView->count(), 4);
    }
};

QTEST_MAIN(TestEditor)
#include "test_editor.moc"
