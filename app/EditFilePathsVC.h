#pragma once

#include "engine/ShredEntryDic.h"
#include "kit/ViewController.h"

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;

namespace tolvex {

class SheetPresenter;

// The shred-list editor of the horizontal window layout: every item of the three lists, one
// row each, filtered by the search field. It changes no list itself: the records the user
// removed go back through actionWithIndex when the closing button (tag 0) is pressed.
class EditFilePathsVC : public ViewController {
    Q_OBJECT

public:
    // The confirmation sheets go through `sheets`.
    explicit EditFilePathsVC(SheetPresenter& sheets, QObject* parent = nullptr);

    // The hand-back: the closing button's tag and dicPathsToRemove itself.
    std::function<void(qint64 tag, ShredEntryDics& removed)> actionWithIndex;

    QLineEdit* searchField = nullptr;
    QListWidget* destTablView = nullptr;
    QLabel* titleLbl = nullptr;

    // Records removed since the editor was last opened.
    ShredEntryDics dicPathsToRemove;
    // The records shown; shrinks as rows are removed.
    ShredEntryDics pathDicsArr;

    // The rows: the records of pathDicsArr that the search lets through, in their order.
    ShredEntryDics arrangedObjects() const;

    // The title's font, which each twin sizes its own way.
    virtual void setTitleFont();
    virtual double heightOfRow() const;

    // Clears the search, as a click on the search field's cancel button does.
    void clearSearch();
    void reloadData();

    void removeFilePath(qint64 row);
    void revealFileInFinder(qint64 row);
    void clearAllPaths();
    void editfilepathsAction(qint64 tag);

    static QString titleForCount(qsizetype count);
    static const QString emptyListTitle;

private:
    // After records were removed: the title, which names an emptied list, and the rows.
    void showRemoval();
    void confirm(const QString& messageText, const QString& informativeText,
                 std::function<void()> onYes);

    SheetPresenter& sheets_;
};

// The editor of the vertical layout: taller rows and a smaller title.
class EditFilePathsVC_vert : public EditFilePathsVC {
    Q_OBJECT

public:
    explicit EditFilePathsVC_vert(SheetPresenter& sheets, QObject* parent = nullptr);

    void setTitleFont() override;
    double heightOfRow() const override;
};

} // namespace tolvex
