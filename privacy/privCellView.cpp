#include "privacy/privCellView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace tolvex {

privCellView::privCellView(QWidget* parent) : HoverUnderlineRow(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);

    brwIconBtn = new QPushButton(this);
    brwIconBtn->setObjectName(QStringLiteral("brwIconBtn"));
    brwIconBtn->setFlat(true);
    brwIconBtn->setFixedSize(iconSize, iconSize);
    brwIconBtn->setIconSize(QSize(iconSize - 4, iconSize - 4));
    brwIconBtn->setCursor(Qt::PointingHandCursor);
    grid->addWidget(brwIconBtn, 0, 0, 2, 1, Qt::AlignVCenter);

    brwNameLbl = new QLabel(this);
    brwNameLbl->setObjectName(QStringLiteral("brwNameLbl"));
    grid->addWidget(brwNameLbl, 0, 1, 1, 2);
    setUnderlinedLabel(brwNameLbl);

    brwHistoryInfoLbl = new QLabel(this);
    brwHistoryInfoLbl->setObjectName(QStringLiteral("brwHistoryInfoLbl"));
    grid->addWidget(brwHistoryInfoLbl, 1, 1);
    brwCookiesInfoLbl = new QLabel(this);
    brwCookiesInfoLbl->setObjectName(QStringLiteral("brwCookiesInfoLbl"));
    grid->addWidget(brwCookiesInfoLbl, 1, 2);

    // The buttons take the row's whole width, which the narrow window needs.
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    cleanBrowsingHistoryBtn = new QPushButton(QStringLiteral("Clean History"), this);
    cleanBrowsingHistoryBtn->setObjectName(QStringLiteral("cleanBrowsingHistoryBtn"));
    buttons->addWidget(cleanBrowsingHistoryBtn);
    cleanCookiesBtn = new QPushButton(QStringLiteral("Clean Cookies"), this);
    cleanCookiesBtn->setObjectName(QStringLiteral("cleanCookiesBtn"));
    buttons->addWidget(cleanCookiesBtn);
    buttons->addStretch(1);
    grid->addLayout(buttons, 2, 0, 1, 3);

    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
}

} // namespace tolvex
