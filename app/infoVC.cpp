#include "app/infoVC.h"

#include "app/Addresses.h"
#include "kit/RobotoFont.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace tolvex {

namespace {

constexpr qint64 closeTag = 0;

QLabel* methodText(const QString& title, const QString& text)
{
    auto* label = new QLabel(QStringLiteral("<b>%1</b><br>%2").arg(title, text));
    label->setWordWrap(true);
    label->setFont(RobotoFont::named(QStringLiteral("Roboto-Regular"), 12));
    return label;
}

} // namespace

infoVC::infoVC(QObject* parent) : ViewController(parent)
{
    auto* root = new QWidget;
    root->setObjectName(QStringLiteral("infoVC"));
    setView(root);
    auto* layout = new QVBoxLayout(root);
    layout->setContentsMargins(24, 36, 24, 18);
    layout->setSpacing(10);

    ShredingMethodsTitle = new QLabel(QStringLiteral("Shredding Methods"), root);
    ShredingMethodsTitle->setAlignment(Qt::AlignCenter);
    ShredingMethodsTitle->setFont(RobotoFont::named(QStringLiteral("Roboto-Thin"), 18));
    layout->addWidget(ShredingMethodsTitle);

    // The methods share the height of the overlay, whatever the layout leaves them.
    layout->addStretch(1);
    layout->addWidget(methodText(
        QStringLiteral("1-pass"),
        QStringLiteral("Every byte is overwritten once with random data before the file is "
                       "renamed and removed. Fastest, and good security for most needs.")));
    layout->addStretch(1);
    layout->addWidget(
        methodText(QStringLiteral("7-pass"),
                   QStringLiteral("Seven overwrites before removal. Slower, better security.")));
    layout->addStretch(1);
    layout->addWidget(methodText(
        QStringLiteral("35-pass"),
        QStringLiteral("Thirty-five overwrites, for the most sensitive data. Slowest, best "
                       "security.")));
    layout->addStretch(1);

    extras_ = new QVBoxLayout;
    layout->addLayout(extras_);

    auto* closeButton = new QPushButton(QStringLiteral("Close"), root);
    closeButton->setObjectName(QStringLiteral("infoCloseButton"));
    connect(closeButton, &QPushButton::clicked, this, [this] { infoVCAction(closeTag); });
    layout->addWidget(closeButton, 0, Qt::AlignHCenter);
}

void infoVC::infoVCAction(qint64 tag)
{
    if (actionWithIndex) {
        actionWithIndex(tag);
    }
}

infoVC_vert::infoVC_vert(QObject* parent) : infoVC(parent)
{
    view()->setObjectName(QStringLiteral("infoVC_vert"));
    auto* article = new QPushButton(QStringLiteral("Learn more about secure erasure"), view());
    article->setObjectName(QStringLiteral("articleButton"));
    article->setFlat(true);
    article->setCursor(Qt::PointingHandCursor);
    // Drawn as a link: the palette's link colour, underlined.
    article->setStyleSheet(QStringLiteral("QPushButton { color: palette(link); }"));
    QFont underlined;
    underlined.setUnderline(true);
    article->setFont(underlined);
    connect(article, &QPushButton::clicked, this, &infoVC_vert::showMediumArticle);
    extrasLayout()->addWidget(article, 0, Qt::AlignHCenter);
}

void infoVC_vert::showMediumArticle()
{
    openURLWithWorkspaceFromPath(Addresses::secureErasureArticle);
}

void infoVC_vert::openURLWithWorkspaceFromPath(const QString& path)
{
    QDesktopServices::openUrl(QUrl(path));
}

} // namespace tolvex
