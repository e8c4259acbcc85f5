#include "privacy/PrivScanView.h"

#include "kit/BarProgressIndicator.h"
#include "kit/Images.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace tolvex {

namespace {

constexpr QSize kViewSize(260, 48);
constexpr int kStopButtonSize = 20;
constexpr int kStatusWidth = 64;

} // namespace

PrivScanView::PrivScanView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("privScanView"));
    setFixedSize(kViewSize);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);

    privScanNameLbl = new QLabel(this);
    privScanNameLbl->setObjectName(QStringLiteral("privScanNameLbl"));
    grid->addWidget(privScanNameLbl, 0, 0, 1, 3);

    privacyScanEraseProgIndic = new BarProgressIndicator(this);
    privacyScanEraseProgIndic->setObjectName(QStringLiteral("privacyScanEraseProgIndic"));
    grid->addWidget(privacyScanEraseProgIndic, 1, 0);

    privScanStatusLbl = new QLabel(this);
    privScanStatusLbl->setObjectName(QStringLiteral("privScanStatusLbl"));
    privScanStatusLbl->setMinimumWidth(kStatusWidth);
    privScanStatusLbl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(privScanStatusLbl, 1, 1);

    privScanStopBtn = new QPushButton(this);
    privScanStopBtn->setObjectName(QStringLiteral("privScanStopBtn"));
    privScanStopBtn->setFlat(true);
    privScanStopBtn->setFixedSize(kStopButtonSize, kStopButtonSize);
    privScanStopBtn->setIcon(imageNamed(QStringLiteral("cancelShred")));
    grid->addWidget(privScanStopBtn, 1, 2);
    grid->setColumnStretch(0, 1);
}

} // namespace tolvex
