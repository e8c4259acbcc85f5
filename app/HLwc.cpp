#include "app/HLwc.h"

#include "app/Addresses.h"
#include "kit/RobotoFont.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace tolvex {

HLwc::HLwc(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HLwc"));
    setWindowTitle(QStringLiteral("Harlight"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 28, 28, 22);

    auto* title = new QLabel(QStringLiteral("Harlight"), this);
    title->setFont(RobotoFont::named(QStringLiteral("Roboto-Thin"), 24));
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto* pitch = new QLabel(QStringLiteral("Another app from the makers of Tolvex."), this);
    pitch->setAlignment(Qt::AlignCenter);
    pitch->setWordWrap(true);
    layout->addWidget(pitch);

    auto* buttons = new QHBoxLayout;
    auto* learnMore = new QPushButton(QStringLiteral("Learn More"), this);
    learnMore->setObjectName(QStringLiteral("learnMoreButton"));
    connect(learnMore, &QPushButton::clicked, this, &HLwc::learnMoreAction);
    auto* download = new QPushButton(QStringLiteral("Download"), this);
    download->setObjectName(QStringLiteral("downloadButton"));
    connect(download, &QPushButton::clicked, this, &HLwc::openAppMASFromPageSlide);
    buttons->addWidget(learnMore);
    buttons->addWidget(download);
    layout->addLayout(buttons);
}

void HLwc::learnMoreAction()
{
    openURLWithWorkspaceFromPath(Addresses::harlightPage);
}

void HLwc::openAppMASFromPageSlide()
{
    openURLWithWorkspaceFromPath(Addresses::harlightDownload);
}

void HLwc::openURLWithWorkspaceFromPath(const QString& path)
{
    QDesktopServices::openUrl(QUrl(path));
}

} // namespace tolvex
