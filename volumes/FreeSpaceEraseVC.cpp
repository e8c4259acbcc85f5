#include "volumes/FreeSpaceEraseVC.h"

#include "kit/GradientColor.h"
#include "kit/Images.h"
#include "kit/MFSCustomProgressIndicator.h"
#include "kit/RobotoFont.h"
#include "kit/Tag.h"
#include "volumes/MountMonitor.h"
#include "volumes/UtilsVolumeQueries.h"
#include "volumes/volCellView.h"

#include <QCursor>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace tolvex {

namespace {

const QString kRoot = QStringLiteral("/");
const QString kNameFont = QStringLiteral("Roboto-Light");
const QString kSizeFont = QStringLiteral("Roboto-Bold");
constexpr qreal kNameFontSize = 11.0;
constexpr qreal kSizeFontSize = 9.0;

// The used share of the bar runs from red to orange.
QGradientStops usageGradient()
{
    return {{0.0, QColor::fromRgbF(0.986f, 0.097f, 0.028f, 1.0f)},
            {1.0, QColor::fromRgbF(0.991f, 0.527f, 0.033f, 1.0f)}};
}

// The theme's drive icons draw at any size; our own disk stands in where the theme has none.
QIcon diskIcon(const VolDic& volume)
{
    const QString kind = volume.dskIsDMG       ? QStringLiteral("media-optical")
                         : volume.dskRemovable ? QStringLiteral("drive-removable-media")
                                               : QStringLiteral("drive-harddisk");
    return QIcon::fromTheme(kind, QIcon::fromTheme(QStringLiteral("drive-harddisk"),
                                                   imageNamed(QStringLiteral("disk"))));
}

void setWhiteText(QLabel* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
}

} // namespace

FreeSpaceEraseVC::FreeSpaceEraseVC(QString supportMail, QObject* parent)
    : ViewController(parent), supportMail_(std::move(supportMail))
{
    auto* root = new QWidget;
    root->setObjectName(QStringLiteral("FreeSpaceEraseVC"));
    setView(root);
    auto* layout = new QVBoxLayout(root);
    layout->setContentsMargins(16, 36, 16, 14);

    auto* title = new QLabel(QStringLiteral("Mounted Volumes"), root);
    title->setObjectName(QStringLiteral("titleLbl"));
    title->setAlignment(Qt::AlignCenter);
    title->setFont(RobotoFont::named(kNameFont, 18));
    layout->addWidget(title);

    volsTablView = new QListWidget(root);
    volsTablView->setObjectName(QStringLiteral("volsTablView"));
    volsTablView->setSelectionMode(QAbstractItemView::NoSelection);
    volsTablView->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    volsTablView->viewport()->installEventFilter(this);
    layout->addWidget(volsTablView, 1);

    auto* buttons = new QHBoxLayout;
    auto* help = new QPushButton(QStringLiteral("?"), root);
    help->setObjectName(QStringLiteral("helpButton"));
    connect(help, &QPushButton::clicked, this, [this, help] { diskEditorInfoAction(help); });
    auto* close = new QPushButton(QStringLiteral("Close"), root);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setDefault(true);
    setTag(close, closeTag);
    connect(close, &QPushButton::clicked, this, [this, close] { closeFreeSpaceVC(close); });
    buttons->addWidget(help);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    monitorVolumesConnDisconn();
}

FreeSpaceEraseVC::~FreeSpaceEraseVC() = default;

void FreeSpaceEraseVC::setVolsDicsArr(const VolDics& volumes)
{
    volsDicsArr_ = volumes;
    reloadData();
}

void FreeSpaceEraseVC::monitorVolumesConnDisconn()
{
    if (mountMonitor_)
        return;
    mountMonitor_ = new MountMonitor(this);
    connect(mountMonitor_, &MountMonitor::mountsChanged, this, &FreeSpaceEraseVC::volumesChanged);
}

void FreeSpaceEraseVC::volumesChanged()
{
    setVolsDicsArr(Utils::getAllDisksInfoArr());
}

void FreeSpaceEraseVC::reloadData()
{
    volsTablView->clear();
    const QFont nameFont = RobotoFont::named(kNameFont, kNameFontSize);
    const QFont sizeFont = RobotoFont::named(kSizeFont, kSizeFontSize);
    const QBrush usageBrush = my_gradientColorWithGradient(usageGradient());
    const VolDics& rows = arrangedObjects();
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const VolDic& volume = rows[row];
        auto* cell = new volCellView;
        cell->setObjectName(QStringLiteral("userDestID"));
        cell->volName->setFont(nameFont);
        cell->volName->setText(volume.dskName);
        cell->volName->setToolTip(volume.dskPath);
        setTag(cell->volName, row);
        setWhiteText(cell->volName);
        cell->volUsedLbl->setFont(nameFont);
        cell->volAvailLbl->setFont(nameFont);
        for (QLabel* size : {cell->volTotalSpace, cell->volAvailSpace, cell->volOccupSpace})
            size->setFont(sizeFont);
        setWhiteText(cell->volTotalSpace);
        cell->volTotalSpace->setText(volume.dskTotalSpace_readable);
        cell->volAvailSpace->setText(volume.dskFreeSpace_readable);
        cell->volOccupSpace->setText(volume.dskOccupiedSpace_readable);

        cell->volSpaceIndicator->setProgress(
            double(float(volume.dskOccupiedSpace_long) / float(volume.dskTotalSpace_long)));
        cell->volSpaceIndicator->setIndicatorBackgroundColor(Qt::white);
        cell->volSpaceIndicator->setIndicatorForegoundColor(usageBrush);

        // The system's own volume cannot be reformatted while it runs.
        const bool isStartupVolume = volume.dskPath == kRoot;
        cell->eraseAndFormatBtn->setEnabled(!isStartupVolume);
        cell->eraseAndFormatBtn->setHidden(isStartupVolume);

        cell->diskIconBtn->setIcon(diskIcon(volume));
        for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
                 cell->diskIconBtn, cell->eraseFreeSpaceBtn, cell->eraseAndFormatBtn})
            setTag(button, row);
        connect(cell->diskIconBtn, &QToolButton::clicked, this,
                [this, button = cell->diskIconBtn] { revealVolume(button); });
        connect(cell->eraseFreeSpaceBtn, &QPushButton::clicked, this,
                [this, button = cell->eraseFreeSpaceBtn] { eraseFreeSpaceAction(button); });
        connect(cell->eraseAndFormatBtn, &QPushButton::clicked, this,
                [this, button = cell->eraseAndFormatBtn] { eraseNformatAction(button); });

        volsTablView->setItemWidget(new QListWidgetItem(volsTablView), cell);
    }
    fitRowsToWidth();
    // The new rows take their places now, not at the next pass of the event loop.
    volsTablView->doItemsLayout();
}

bool FreeSpaceEraseVC::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize)
        fitRowsToWidth();
    return ViewController::eventFilter(watched, event);
}

// A row whose buttons go below its figures needs more than the usual height.
void FreeSpaceEraseVC::fitRowsToWidth()
{
    const int width = volsTablView->viewport()->width();
    for (int row = 0; row < volsTablView->count(); ++row) {
        QListWidgetItem* item = volsTablView->item(row);
        auto* cell = static_cast<volCellView*>(volsTablView->itemWidget(item));
        // Adding a row lays the list out before the row has its view: it is fitted once it has.
        if (!cell)
            continue;
        // A new row measures its texts as the window's style draws them only once polished.
        cell->ensurePolished();
        cell->fitWidth(width);
        item->setSizeHint(QSize(0, std::max(qRound(rowHeight), cell->sizeHint().height())));
    }
}

void FreeSpaceEraseVC::revealVolume(QObject* sender)
{
    sendRowAction(sender, false, true);
}

void FreeSpaceEraseVC::eraseFreeSpaceAction(QObject* sender)
{
    sendRowAction(sender, true, false);
}

void FreeSpaceEraseVC::eraseNformatAction(QObject* sender)
{
    sendRowAction(sender, false, false);
}

void FreeSpaceEraseVC::closeFreeSpaceVC(QObject* sender)
{
    if (actionWithIndex)
        actionWithIndex(tag(sender), std::nullopt, false, false);
}

void FreeSpaceEraseVC::diskEditorInfoAction(QWidget* sender)
{
    QToolTip::showText(QCursor::pos(), contextHelpText(), sender);
}

QString FreeSpaceEraseVC::contextHelpText() const
{
    return QStringLiteral("Click on the Disk icon to reveal it in Finder\n\nIf you're not seeing "
                          "some mounted volume here, please contact ") +
           supportMail_ +
           QStringLiteral("\n\nPlease also incude the conection type of that particular disk.");
}

void FreeSpaceEraseVC::sendRowAction(QObject* sender, bool eraseFreeSpace, bool reveal)
{
    const qint64 row = tag(sender);
    std::optional<VolDic> volume;
    if (row >= 0 && row < arrangedObjects().size())
        volume = arrangedObjects()[row];
    if (actionWithIndex)
        actionWithIndex(row, volume, eraseFreeSpace, reveal);
}

} // namespace tolvex
