#include "app/destCellView.h"

#include "kit/ElidingLabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvex {

namespace {
constexpr int buttonSize = 22;
} // namespace

destCellView::destCellView(QWidget* parent) : HoverUnderlineRow(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 2, 8, 2);
    row->setSpacing(8);

    destIcon = new QLabel(this);
    destIcon->setFixedSize(iconSize, iconSize);
    row->addWidget(destIcon);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    // Long names keep their start and their end.
    textField = new ElidingLabel(this);
    textField->setObjectName(QStringLiteral("textField"));
    detailTextField = new QLabel(this);
    detailTextField->setObjectName(QStringLiteral("detailTextField"));
    setUnderlinedLabel(textField);
    texts->addWidget(textField);
    texts->addWidget(detailTextField);
    row->addLayout(texts, 1);

    for (QPushButton** button : {&revealBtn, &deleteDestBtn}) {
        *button = new QPushButton(this);
        (*button)->setFlat(true);
        (*button)->setFixedSize(buttonSize, buttonSize);
        (*button)->setIconSize(QSize(buttonSize - 4, buttonSize - 4));
        (*button)->setCursor(Qt::PointingHandCursor);
        row->addWidget(*button);
    }
    revealBtn->setObjectName(QStringLiteral("revealBtn"));
    deleteDestBtn->setObjectName(QStringLiteral("deleteDestBtn"));
}

} // namespace tolvex
