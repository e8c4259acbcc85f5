#include "volumes/volCellView.h"

#include "kit/MFSCustomProgressIndicator.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tolvex {

namespace {

constexpr int kBarHeight = 10;

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

} // namespace

volCellView::volCellView(QWidget* parent) : HoverUnderlineRow(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 4, 10, 4);
    row->setSpacing(12);

    diskIconBtn = new QToolButton(this);
    diskIconBtn->setObjectName(QStringLiteral("diskIconBtn"));
    diskIconBtn->setAutoRaise(true);
    diskIconBtn->setIconSize(QSize(iconSize, iconSize));
    diskIconBtn->setCursor(Qt::PointingHandCursor);
    diskIconBtn->setToolTip(QStringLiteral("Reveal"));
    row->addWidget(diskIconBtn);

    auto* details = new QVBoxLayout;
    details->setSpacing(3);
    volName = label(this, QStringLiteral("volName"));
    setUnderlinedLabel(volName);
    details->addWidget(volName);
    auto* sizes = new QGridLayout;
    sizes->setHorizontalSpacing(6);
    sizes->setVerticalSpacing(0);
    volUsedLbl = label(this, QStringLiteral("volUsedLbl"), QStringLiteral("Used:"));
    volOccupSpace = label(this, QStringLiteral("volOccupSpace"));
    volAvailLbl = label(this, QStringLiteral("volAvailLbl"), QStringLiteral("Available:"));
    volAvailSpace = label(this, QStringLiteral("volAvailSpace"));
    volTotalSpace = label(this, QStringLiteral("volTotalSpace"));
    volTotalSpace->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sizes->addWidget(volUsedLbl, 0, 0);
    sizes->addWidget(volOccupSpace, 0, 1);
    sizes->addWidget(volAvailLbl, 0, 2);
    sizes->addWidget(volAvailSpace, 0, 3);
    sizes->addWidget(volTotalSpace, 0, 4);
    sizes->setColumnStretch(4, 1);
    details->addLayout(sizes);
    volSpaceIndicator = new MFSCustomProgressIndicator(this);
    volSpaceIndicator->setObjectName(QStringLiteral("volSpaceIndicator"));
    volSpaceIndicator->setFixedHeight(kBarHeight);
    details->addWidget(volSpaceIndicator);
    row->addLayout(details, 1);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    eraseFreeSpaceBtn =
        eraseButton(this, QStringLiteral("eraseFreeSpaceBtn"), QStringLiteral("Erase Free Space"));
    eraseAndFormatBtn =
        eraseButton(this, QStringLiteral("eraseAndFormatBtn"), QStringLiteral("Erase && Format"));
    buttons->addWidget(eraseFreeSpaceBtn);
    buttons->addWidget(eraseAndFormatBtn);
    row->addLayout(buttons);
}

} // namespace tolvex
