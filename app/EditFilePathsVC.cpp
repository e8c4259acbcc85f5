#include "app/EditFilePathsVC.h"

#include "app/NamedImage.h"
#include "app/destCellView.h"
#include "engine/SheetPresenter.h"
#include "engine/UtilsFileSystem.h"
#include "kit/RobotoFont.h"
#include "platform/NativePath.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvex {

namespace {

constexpr qint64 applyTag = 0;

QString titleFontName()
{
    return QStringLiteral("Roboto-Light");
}

} // namespace

const QString EditFilePathsVC::emptyListTitle = QStringLiteral("- Shredding list is Empty -");

EditFilePathsVC::EditFilePathsVC(SheetPresenter& sheets, QObject* parent)
    : ViewController(parent), sheets_(sheets)
{
    auto* root = new QWidget;
    root->setObjectName(QStringLiteral("EditFilePathsVC"));
    setView(root);
    auto* layout = new QVBoxLayout(root);
    layout->setContentsMargins(16, 36, 16, 14);

    titleLbl = new QLabel(root);
    titleLbl->setObjectName(QStringLiteral("titleLbl"));
    titleLbl->setAlignment(Qt::AlignCenter);
    EditFilePathsVC::setTitleFont();
    layout->addWidget(titleLbl);

    searchField = new QLineEdit(root);
    searchField->setObjectName(QStringLiteral("searchField"));
    searchField->setPlaceholderText(QStringLiteral("Search"));
    searchField->setClearButtonEnabled(true);
    // The field keeps one frame, focused or not: the screen has no focus rings.
    searchField->setStyleSheet(QStringLiteral(
        "QLineEdit { border: 1px solid palette(mid); border-radius: 4px; padding: 2px 4px; "
        "background: palette(base); }"));
    connect(searchField, &QLineEdit::textChanged, this, &EditFilePathsVC::reloadData);
    layout->addWidget(searchField);

    destTablView = new QListWidget(root);
    destTablView->setObjectName(QStringLiteral("destTablView"));
    destTablView->setSelectionMode(QAbstractItemView::NoSelection);
    destTablView->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    layout->addWidget(destTablView, 1);

    auto* buttons = new QHBoxLayout;
    auto* clearAll = new QPushButton(QStringLiteral("Clear All"), root);
    clearAll->setObjectName(QStringLiteral("clearAllButton"));
    connect(clearAll, &QPushButton::clicked, this, &EditFilePathsVC::clearAllPaths);
    auto* done = new QPushButton(QStringLiteral("Done"), root);
    done->setObjectName(QStringLiteral("doneButton"));
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, [this] { editfilepathsAction(applyTag); });
    buttons->addWidget(clearAll);
    buttons->addStretch(1);
    buttons->addWidget(done);
    layout->addLayout(buttons);
}

ShredEntryDics EditFilePathsVC::arrangedObjects() const
{
    const QString search = searchField->text();
    if (search.isEmpty()) {
        return pathDicsArr;
    }
    ShredEntryDics rows;
    for (const ShredEntryDic& record : pathDicsArr) {
        if (readablePath(record.fileName.value_or(QString()))
                .contains(search, Qt::CaseInsensitive) ||
            readablePath(record.filePath).contains(search, Qt::CaseInsensitive)) {
            rows.append(record);
        }
    }
    return rows;
}

void EditFilePathsVC::setTitleFont()
{
    titleLbl->setFont(RobotoFont::named(titleFontName(), 18));
}

double EditFilePathsVC::heightOfRow() const
{
    return 40.0;
}

void EditFilePathsVC::clearSearch()
{
    searchField->clear();
    reloadData();
}

void EditFilePathsVC::reloadData()
{
    destTablView->clear();
    const ShredEntryDics rows = arrangedObjects();
    const QFileIconProvider icons;
    const QFont nameFont = RobotoFont::named(QStringLiteral("Roboto-Regular"), 13);
    const QFont methodFont = RobotoFont::named(QStringLiteral("Roboto-Regular"), 11);
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const ShredEntryDic& record = rows[row];
        auto* cell = new destCellView;
        cell->setObjectName(QStringLiteral("userDestID"));
        cell->textField->setText(readablePath(record.fileName.value_or(QString())));
        cell->textField->setFont(nameFont);
        cell->textField->setProperty("tag", row);
        cell->detailTextField->setFont(methodFont);
        if (record.passIndx.value_or(0) > 0) {
            cell->detailTextField->setText(QStringLiteral("%1-pass").arg(*record.passIndx));
        }
        cell->destIcon->setPixmap(icons.icon(QFileInfo(record.filePath))
                                      .pixmap(destCellView::iconSize, destCellView::iconSize));
        NamedImage::setImage(cell->deleteDestBtn, QStringLiteral("cancelShred"));
        NamedImage::setImage(cell->revealBtn, QStringLiteral("reveal"));
        cell->setToolTip(readablePath(record.filePath));
        connect(cell->deleteDestBtn, &QPushButton::clicked, this,
                [this, row] { removeFilePath(row); });
        connect(cell->revealBtn, &QPushButton::clicked, this,
                [this, row] { revealFileInFinder(row); });

        auto* item = new QListWidgetItem(destTablView);
        item->setSizeHint(QSize(0, qRound(heightOfRow())));
        destTablView->setItemWidget(item, cell);
    }
}

void EditFilePathsVC::removeFilePath(qint64 row)
{
    const ShredEntryDics rows = arrangedObjects();
    if (row < 0 || row >= rows.size()) {
        return;
    }
    const ShredEntryDic record = rows[row];
    confirm(QStringLiteral("Remove this file path from shredding list?"),
            readablePath(record.filePath), [this, record] {
                pathDicsArr.removeOne(record);
                dicPathsToRemove.append(record);
                showRemoval();
            });
}

void EditFilePathsVC::revealFileInFinder(qint64 row)
{
    const ShredEntryDics rows = arrangedObjects();
    if (row >= 0 && row < rows.size()) {
        Utils::revealMultiFilesInFinder({rows[row].filePath});
    }
}

void EditFilePathsVC::clearAllPaths()
{
    if (arrangedObjects().isEmpty()) {
        return;
    }
    confirm(QStringLiteral("Are you sure you want to clear the shredding list?"), QString(),
            [this] {
                // Rows the search hides go too: the user asked to clear the list, not the view.
                dicPathsToRemove.append(pathDicsArr);
                pathDicsArr.clear();
                showRemoval();
            });
}

void EditFilePathsVC::editfilepathsAction(qint64 tag)
{
    clearSearch();
    if (actionWithIndex) {
        actionWithIndex(tag, dicPathsToRemove);
    }
}

void EditFilePathsVC::confirm(const QString& messageText, const QString& informativeText,
                              std::function<void()> onYes)
{
    QPointer<EditFilePathsVC> self(this);
    sheets_.beginSheetModal({messageText,
                             informativeText,
                             {QStringLiteral("YES"), QStringLiteral("NO")},
                             SheetAlert::Style::Critical},
                            [self, onYes = std::move(onYes)](int response) {
                                if (self && response == kAlertFirstButtonReturn) {
                                    onYes();
                                }
                            });
}

QString EditFilePathsVC::titleForCount(qsizetype count)
{
    return count == 0 ? emptyListTitle : QStringLiteral("%1 files added:").arg(count);
}

void EditFilePathsVC::showRemoval()
{
    setTitleFont();
    if (pathDicsArr.isEmpty() && !dicPathsToRemove.isEmpty()) {
        titleLbl->setText(emptyListTitle);
    }
    reloadData();
}

EditFilePathsVC_vert::EditFilePathsVC_vert(SheetPresenter& sheets, QObject* parent)
    : EditFilePathsVC(sheets, parent)
{
    view()->setObjectName(QStringLiteral("EditFilePathsVC_vert"));
}

void EditFilePathsVC_vert::setTitleFont()
{
    titleLbl->setFont(RobotoFont::named(titleFontName(), 14));
}

double EditFilePathsVC_vert::heightOfRow() const
{
    return 50.0;
}

} // namespace tolvex
