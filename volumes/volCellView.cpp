#include "volumes/volCellView.h"

#include "kit/MFSCustomProgressIndicator.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>

namespace tolvex {

namespace {

constexpr int kBarHeight = 10;
constexpr int kSideMargin = 10;
constexpr int kRowMargin = 4;
// Buttons stacked under the figures stand apart from the next row's name.
constexpr int kStackedBottomMargin = 14;

QLabel* label(QWidget* parent, const QString& name, const QString& text = QString())
{
    auto* field = new QLabel(text, parent);
    field->setObjectName(name);
    return field;
}

QPushButton* eraseButton(QWidget* parent, const QString& name, const QString& title)
{
    auto* button = new QPushButton(title, parent);
    button->setObjectName(name);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

// Beside the figures the buttons stand one above the other. Below them they stand side by side
// while both fit, else one above the other, and the figures take two lines so that the name and
// the bar keep a useful width. Buttons below keep closer to their own bar than to the next row.
struct Arrangement {
    QBoxLayout::Direction row;
    QBoxLayout::Direction buttons;
    int gap; // between the figures and the buttons
};

// From the widest to the narrowest.
constexpr std::array kArrangements{
    Arrangement{QBoxLayout::LeftToRight, QBoxLayout::TopToBottom, 12},
    Arrangement{QBoxLayout::TopToBottom, QBoxLayout::LeftToRight, 4},
    Arrangement{QBoxLayout::TopToBottom, QBoxLayout::TopToBottom, 4},
};

} // namespace

volCellView::volCellView(QWidget* parent) : HoverUnderlineRow(parent)
{
    row_ = new QBoxLayout(kArrangements.front().row, this);
    row_->setContentsMargins(kSideMargin, kRowMargin, kSideMargin, kRowMargin);
    row_->setSpacing(kArrangements.front().gap);
    auto* volume = new QHBoxLayout;
    volume->setSpacing(kArrangements.front().gap);
    row_->addLayout(volume, 1);

    diskIconBtn = new QToolButton(this);
    diskIconBtn->setObjectName(QStringLiteral("diskIconBtn"));
    diskIconBtn->setAutoRaise(true);
    diskIconBtn->setIconSize(QSize(iconSize, iconSize));
    diskIconBtn->setCursor(Qt::PointingHandCursor);
    diskIconBtn->setToolTip(QStringLiteral("Reveal"));
    volume->addWidget(diskIconBtn);

    auto* details = new QVBoxLayout;
    details->setSpacing(3);
    volName = label(this, QStringLiteral("volName"));
    setUnderlinedLabel(volName);
    details->addWidget(volName);
    sizes_ = new QGridLayout;
    sizes_->setHorizontalSpacing(6);
    sizes_->setVerticalSpacing(0);
    volUsedLbl = label(this, QStringLiteral("volUsedLbl"), QStringLiteral("Used:"));
    volOccupSpace = label(this, QStringLiteral("volOccupSpace"));
    volAvailLbl = label(this, QStringLiteral("volAvailLbl"), QStringLiteral("Available:"));
    volAvailSpace = label(this, QStringLiteral("volAvailSpace"));
    volTotalSpace = label(this, QStringLiteral("volTotalSpace"));
    volTotalSpace->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sizes_->addWidget(volUsedLbl, 0, 0);
    sizes_->addWidget(volOccupSpace, 0, 1);
    sizes_->addWidget(volAvailLbl, 0, 2);
    sizes_->addWidget(volAvailSpace, 0, 3);
    sizes_->addWidget(volTotalSpace, 0, 4);
    sizes_->setColumnStretch(4, 1);
    details->addLayout(sizes_);
    volSpaceIndicator = new MFSCustomProgressIndicator(this);
    volSpaceIndicator->setObjectName(QStringLiteral("volSpaceIndicator"));
    volSpaceIndicator->setFixedHeight(kBarHeight);
    details->addWidget(volSpaceIndicator);
    volume->addLayout(details, 1);

    buttons_ = new QBoxLayout(kArrangements.front().buttons);
    buttons_->setSpacing(4);
    eraseFreeSpaceBtn =
        eraseButton(this, QStringLiteral("eraseFreeSpaceBtn"), QStringLiteral("Erase Free Space"));
    eraseAndFormatBtn =
        eraseButton(this, QStringLiteral("eraseAndFormatBtn"), QStringLiteral("Erase && Format"));
    buttons_->addWidget(eraseFreeSpaceBtn);
    buttons_->addWidget(eraseAndFormatBtn);
    // A volume that cannot be reformatted keeps the button's room, so its row lines up with
    // the others.
    QSizePolicy keepsRoom = eraseAndFormatBtn->sizePolicy();
    keepsRoom.setRetainSizeWhenHidden(true);
    eraseAndFormatBtn->setSizePolicy(keepsRoom);
    row_->addLayout(buttons_);
}

void volCellView::fitWidth(int width)
{
    for (const Arrangement& arrangement : kArrangements) {
        row_->setDirection(arrangement.row);
        row_->setSpacing(arrangement.gap);
        buttons_->setDirection(arrangement.buttons);
        const bool oneLine = arrangement.row == QBoxLayout::LeftToRight;
        row_->setContentsMargins(kSideMargin, kRowMargin, kSideMargin,
                                 oneLine ? kRowMargin : kStackedBottomMargin);
        for (QLabel* available : {volAvailLbl, volAvailSpace})
            sizes_->removeWidget(available);
        sizes_->addWidget(volAvailLbl, oneLine ? 0 : 1, oneLine ? 2 : 0);
        sizes_->addWidget(volAvailSpace, oneLine ? 0 : 1, oneLine ? 3 : 1);
        // The nested layouts measure themselves afresh only when the row's layout activates.
        layout()->activate();
        if (layout()->minimumSize().width() <= width)
            return;
    }
}

} // namespace tolvex
