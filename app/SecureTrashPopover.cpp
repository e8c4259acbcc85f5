#include "SecureTrashPopover.h"

#include "engine/ListId.h"
#include "kit/QBButton.h"
#include "kit/RobotoFont.h"
#include "kit/Tag.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tolvex {

namespace {

constexpr int kMargin = 10;
constexpr int kSpacing = 8;
constexpr double kTitleFontSize = 13.0;
constexpr double kButtonFontSize = 13.0;

} // namespace

SecureTrashPopover::SecureTrashPopover(QWidget* parent) : PopoverPanel(parent)
{
    setObjectName(QStringLiteral("secureTrashPopOver"));

    auto* title = new QLabel(QStringLiteral("Secure Empty Trash"), this);
    title->setFont(RobotoFont::named(QStringLiteral("Roboto-Regular"), kTitleFontSize));
    title->setAlignment(Qt::AlignCenter);

    auto* row = new QHBoxLayout;
    row->setSpacing(kSpacing);
    for (qint64 listId : kListIds) {
        auto* button = new QBButton(this);
        button->setText(QStringLiteral("%1-pass").arg(listId));
        button->setFont(RobotoFont::named(QStringLiteral("Roboto-Regular"), kButtonFontSize));
        button->setBackgroundColor(QColor(255, 255, 255, 40));
        button->setTextColor(QColor(240, 240, 240));
        button->setFocusPolicy(Qt::NoFocus);
        setTag(button, listId);
        connect(button, &QAbstractButton::clicked, this,
                [this, button] { Q_EMIT passChosen(button); });
        row->addWidget(button);
        passButtons_ << button;
    }

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->setSpacing(kSpacing);
    column->addWidget(title);
    column->addLayout(row);
}

void SecureTrashPopover::showRelativeTo(QWidget* anchor)
{
    PopoverPanel::showRelativeTo(anchor, Edge::Below);
}

QAbstractButton* SecureTrashPopover::passButton(qint64 listId) const
{
    for (QAbstractButton* button : passButtons_)
        if (tag(button) == listId)
            return button;
    return nullptr;
}

} // namespace tolvex
