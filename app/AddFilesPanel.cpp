#include "app/AddFilesPanel.h"

#include <QAbstractItemView>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QSortFilterProxyModel>

namespace tolvex {

namespace {

// Dims the items the panel's test refuses: they can be neither selected nor opened.
class EnabledItemsFilter : public QSortFilterProxyModel {
public:
    EnabledItemsFilter(AddFilesPanel::PathTest shouldEnable, QObject* parent)
        : QSortFilterProxyModel(parent), shouldEnable_(std::move(shouldEnable))
    {}

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags flags = QSortFilterProxyModel::flags(index);
        const QString path = index.data(QFileSystemModel::FilePathRole).toString();
        if (!path.isEmpty() && !shouldEnable_(path)) {
            flags &= ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
        return flags;
    }

private:
    AddFilesPanel::PathTest shouldEnable_;
};

} // namespace

AddFilesPanel::AddFilesPanel(QWidget* window, const QString& startFolder, PathTest shouldEnable,
                             PathTest validate)
    : QFileDialog(window, QString(), startFolder), validate_(std::move(validate))
{
    setObjectName(QStringLiteral("AddFilesPanel"));
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::ReadOnly); // no creating folders
    // Directory mode with files shown lets files and folders be chosen alike.
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly, false);
    setProxyModel(new EnabledItemsFilter(std::move(shouldEnable), this));
    for (auto* view : findChildren<QAbstractItemView*>()) {
        if (view->objectName() == QLatin1String("listView") ||
            view->objectName() == QLatin1String("treeView")) {
            view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        }
    }
    setWindowModality(Qt::WindowModal);
}

void AddFilesPanel::setAccessoryView(QWidget* accessoryView)
{
    accessoryView_ = accessoryView;
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addWidget(accessoryView, grid->rowCount(), 0, 1, grid->columnCount());
    }
}

void AddFilesPanel::accept()
{
    const QStringList chosen = selectedFiles();
    for (const QString& path : chosen) {
        if (!validate_(path)) {
            return;
        }
    }
    chosen_ = chosen;
    // Directory mode would only take a folder: the choice is already checked and made.
    done(QDialog::Accepted);
}

void AddFilesPanel::done(int result)
{
    if (accessoryView_) {
        accessoryView_->hide();
        accessoryView_->setParent(nullptr);
        accessoryView_ = nullptr;
    }
    QFileDialog::done(result);
}

} // namespace tolvex
