#include "kit/FilePanelDialog.h"

#include "kit/AlertPresenter.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>

namespace tolvex {

namespace {

// Dims the items the panel's test refuses: they can be neither selected nor opened.
class EnabledItemsFilter : public QSortFilterProxyModel {
public:
    EnabledItemsFilter(std::function<bool(const QString& path)> shouldEnable, QObject* parent)
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
    std::function<bool(const QString& path)> shouldEnable_;
};

const QString kTitle = QStringLiteral("Choose Files and Folders");
const QString kNameLabel = QStringLiteral("Name:");

} // namespace

FilePanelDialog::FilePanelDialog(const FilePanel& panel, QWidget* window)
    : QFileDialog(window, QString(), panel.directory), validate_(panel.validateURL)
{
    setObjectName(QStringLiteral("FilePanelDialog"));
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::ReadOnly); // no creating folders
    // Directory mode with files shown lets files and folders be chosen alike.
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly, false);
    // Directory mode would title and label the panel for folders alone and offer a type filter
    // of folders; the panel takes both and has no filter.
    setWindowTitle(kTitle);
    setLabelText(QFileDialog::FileName, kNameLabel);
    for (const QString& name : {QStringLiteral("fileTypeCombo"), QStringLiteral("fileTypeLabel")})
        if (auto* typeRow = findChild<QWidget*>(name))
            typeRow->hide();
    if (panel.shouldEnableURL) {
        setProxyModel(new EnabledItemsFilter(panel.shouldEnableURL, this));
    }
    for (auto* view : findChildren<QAbstractItemView*>()) {
        if (view->objectName() == QLatin1String("listView") ||
            view->objectName() == QLatin1String("treeView")) {
            view->setSelectionMode(QAbstractItemView::ExtendedSelection);
            // After the dialog's own update of the button, which would leave it off for files.
            connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                    &FilePanelDialog::enableChooseButton, Qt::QueuedConnection);
        }
    }
    if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        connect(name, &QLineEdit::textChanged, this, &FilePanelDialog::enableChooseButton,
                Qt::QueuedConnection);
    }
    // Titles alone, as on every other button of the program: the style's bitmap pictures would
    // squeeze them.
    if (auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox")))
        for (QAbstractButton* button : buttons->buttons())
            button->setIcon(QIcon());
    accessoryView_ = panel.accessoryView;
    if (auto* grid = qobject_cast<QGridLayout*>(layout()); grid && accessoryView_) {
        grid->addWidget(accessoryView_, grid->rowCount(), 0, 1, grid->columnCount());
        // The previous panel hid it on its way out.
        accessoryView_->show();
    }
}

// Directory mode lets the button choose folders only; here files count as much, and OK checks
// whatever was chosen.
void FilePanelDialog::enableChooseButton()
{
    if (auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))) {
        if (QPushButton* choose = buttons->button(QDialogButtonBox::Open)) {
            choose->setEnabled(!selectedFiles().isEmpty());
        }
    }
}

void FilePanelDialog::accept()
{
    const QStringList chosen = selectedFiles();
    for (const QString& path : chosen) {
        if (validate_ && !validate_(path)) {
            return;
        }
    }
    chosen_ = chosen;
    // Directory mode would only take a folder: the choice is already checked and made.
    done(QDialog::Accepted);
}

// The buttons stand beside the name field and the hidden type row, whose room alone would squeeze
// them; they keep the height their titles need, known once the panel's look is applied.
void FilePanelDialog::showEvent(QShowEvent* event)
{
    if (auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox")))
        buttons->setMinimumHeight(buttons->sizeHint().height());
    QFileDialog::showEvent(event);
}

void FilePanelDialog::done(int result)
{
    // The accessory view goes back to its owner, who shows it in the next panel.
    if (accessoryView_) {
        accessoryView_->hide();
        accessoryView_->setParent(nullptr);
        accessoryView_ = nullptr;
    }
    QFileDialog::done(result);
}

} // namespace tolvex
