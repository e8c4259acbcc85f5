#include "privacy/PrivScanVC.h"

#include "kit/Images.h"
#include "kit/RobotoFont.h"
#include "kit/Tag.h"
#include "privacy/Browsers.h"
#include "privacy/PrivScanBlocks.h"
#include "privacy/WorkspaceIcons.h"
#include "privacy/privCellView.h"

#include <QCheckBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace tolvex {

namespace {

constexpr qint64 kCleanUpAllTag = 0;

QPushButton* screenButton(const QString& title, const QString& objectName, QWidget* parent)
{
    auto* button = new QPushButton(title, parent);
    button->setObjectName(objectName);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// The browser's own icon; where the theme lacks it, our picture of the browser rather than a
// plain file's.
QIcon browserIcon(const PrivInfoDic& record)
{
    const QString entry = record.kBrowserInstallPath.value_or(QString());
    if (const QIcon own = WorkspaceIcons::applicationIcon(entry); !own.isNull())
        return own;
    if (const std::optional<QString> image = PrivScanVC::imageNameForBrowser(record.kBrowserName))
        return imageNamed(*image);
    return WorkspaceIcons::iconForFile(entry);
}

void showNotInstalled(privCellView* cell, const PrivInfoDic& record, const QString& notInstalled)
{
    cell->brwHistoryInfoLbl->setText(notInstalled);
    cell->brwCookiesInfoLbl->setText(notInstalled);
    if (const std::optional<QString> image = PrivScanVC::imageNameForBrowser(record.kBrowserName))
        cell->brwIconBtn->setIcon(imageNamed(*image));
    cell->brwIconBtn->setEnabled(false);
    for (QPushButton* button : {cell->cleanBrowsingHistoryBtn, cell->cleanCookiesBtn}) {
        button->hide();
        button->setEnabled(false);
    }
}

void showInstalled(privCellView* cell, const PrivInfoDic& record)
{
    const QLocale locale;
    cell->brwIconBtn->setEnabled(true);
    for (QPushButton* button : {cell->cleanBrowsingHistoryBtn, cell->cleanCookiesBtn}) {
        button->show();
        button->setEnabled(true);
    }
    const QString files = locale.toString(qulonglong(record.kBrowserPrivacyInFilesCount));
    cell->brwHistoryInfoLbl->setText(
        record.kBrowserPrivacyItemsCount == 0
            ? QStringLiteral("%1 of data\n in %2 files")
                  .arg(record.kBrowserPrivacyFilesTotalSize, files)
            : QStringLiteral("%1 items\n in %2 files")
                  .arg(locale.toString(qulonglong(record.kBrowserPrivacyItemsCount)), files));
    const quint64 cookies = record.CookieStorage ? record.CookieStorage->CookieStorageCount : 0;
    cell->brwCookiesInfoLbl->setText(
        QStringLiteral("%1 items").arg(locale.toString(qulonglong(cookies))));
    cell->brwIconBtn->setIcon(browserIcon(record));
}

} // namespace

const QString PrivScanVC::contextHelp =
    QStringLiteral("Click one of the app icons to clean both, its History & Cookies");

PrivScanVC::PrivScanVC(QObject* parent) : ViewController(parent)
{
    auto* root = new QWidget;
    root->setObjectName(QStringLiteral("PrivScanVC"));
    setView(root);
    auto* layout = new QVBoxLayout(root);
    layout->setContentsMargins(16, 12, 16, 14);

    auto* top = new QHBoxLayout;
    top->addStretch(1);
    QPushButton* help = screenButton(QStringLiteral("?"), QStringLiteral("helpButton"), root);
    connect(help, &QPushButton::clicked, this, [this, help] { diskEditorInfoAction(help); });
    top->addWidget(help);
    layout->addLayout(top);

    privTablView = new QListWidget(root);
    privTablView->setObjectName(QStringLiteral("privTablView"));
    privTablView->setSelectionMode(QAbstractItemView::NoSelection);
    privTablView->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    layout->addWidget(privTablView, 1);

    auto* bottom = new QHBoxLayout;
    // The box's state goes to the action blocks, which remove the same way whatever it says,
    // so it is not offered to the user.
    shouldSecurelyEraseItemsCheck = new QCheckBox(root);
    shouldSecurelyEraseItemsCheck->setObjectName(QStringLiteral("shouldSecurelyEraseItemsCheck"));
    shouldSecurelyEraseItemsCheck->hide();
    bottom->addWidget(shouldSecurelyEraseItemsCheck);
    bottom->addStretch(1);
    QPushButton* close = screenButton(QStringLiteral("Close"), QStringLiteral("closeButton"), root);
    setTag(close, PrivScanBlocks::kCloseTag);
    connect(close, &QPushButton::clicked, this, [this, close] { closeFreeSpaceVC(close); });
    bottom->addWidget(close);
    QPushButton* cleanAll =
        screenButton(QStringLiteral("Clean Up All"), QStringLiteral("cleanUpAllButton"), root);
    setTag(cleanAll, kCleanUpAllTag);
    connect(cleanAll, &QPushButton::clicked, this,
            [this, cleanAll] { cleanUpAllDataInAllBrowsers(cleanAll); });
    bottom->addWidget(cleanAll);
    layout->addLayout(bottom);
}

void PrivScanVC::setBrowserDicsArr(const QList<PrivInfoDic>& records)
{
    browserDicsArr_ = records;
    reloadData();
}

privCellView* PrivScanVC::tableViewViewForTableColumn(qsizetype row)
{
    const PrivInfoDic& record = arrangedObjects().at(row);
    auto* cell = new privCellView;
    cell->setObjectName(QStringLiteral("userDestID"));
    cell->brwNameLbl->setFont(RobotoFont::named(QStringLiteral("Roboto-Regular"), 12.0));
    cell->brwNameLbl->setText(record.kBrowserName);
    setTag(cell->brwNameLbl, row);
    cell->brwNameLbl->setStyleSheet(QStringLiteral("color: white;"));
    const QFont infoFont = RobotoFont::named(QStringLiteral("Roboto-Black"), 11.0);
    cell->brwHistoryInfoLbl->setFont(infoFont);
    cell->brwCookiesInfoLbl->setFont(infoFont);
    const QString notInstalled = record.kBrowserNotInstalled.value_or(QString());
    if (!notInstalled.isEmpty())
        showNotInstalled(cell, record, notInstalled);
    else
        showInstalled(cell, record);
    for (QPushButton* button :
         {cell->brwIconBtn, cell->cleanBrowsingHistoryBtn, cell->cleanCookiesBtn})
        setTag(button, row);
    return cell;
}

double PrivScanVC::tableViewHeightOfRow() const
{
    return 82.0;
}

void PrivScanVC::eraseBothHistoryAndCookies(QObject* sender)
{
    sendRowAction(sender, true, true);
}

void PrivScanVC::eraseCookiesOnly(QObject* sender)
{
    sendRowAction(sender, true, false);
}

void PrivScanVC::eraseHistoryOnly(QObject* sender)
{
    sendRowAction(sender, false, true);
}

void PrivScanVC::cleanUpAllDataInAllBrowsers(QObject* sender)
{
    if (cleanUpAllComplAction)
        cleanUpAllComplAction(tag(sender), arrangedObjects(), checkboxState());
}

void PrivScanVC::closeFreeSpaceVC(QObject* sender)
{
    if (actionWithIndex)
        actionWithIndex(tag(sender), std::nullopt, checkboxState(), false, false);
}

void PrivScanVC::diskEditorInfoAction(QObject* sender)
{
    auto* control = qobject_cast<QWidget*>(sender);
    if (!control)
        return;
    control->setWhatsThis(contextHelp);
    QToolTip::showText(QCursor::pos(), contextHelp, control);
}

std::optional<QString> PrivScanVC::imageNameForBrowser(const QString& name)
{
    static const QList<std::pair<QString, QString>> images = {
        {kSafari.name, QStringLiteral("safari")},   {kGoogleChrome.name, QStringLiteral("Chrome")},
        {kFirefox.name, QStringLiteral("firefox")}, {kOpera.name, QStringLiteral("opera")},
        {kVivaldi.name, QStringLiteral("vivaldi")}, {kBraveBrowser.name, QStringLiteral("brave")},
    };
    for (const auto& [browser, image] : images) {
        if (browser == name)
            return image;
    }
    return std::nullopt;
}

void PrivScanVC::reloadData()
{
    privTablView->clear();
    for (qsizetype row = 0; row < arrangedObjects().size(); ++row) {
        privCellView* cell = tableViewViewForTableColumn(row);
        connect(cell->brwIconBtn, &QPushButton::clicked, this,
                [this, button = cell->brwIconBtn] { eraseBothHistoryAndCookies(button); });
        connect(cell->cleanCookiesBtn, &QPushButton::clicked, this,
                [this, button = cell->cleanCookiesBtn] { eraseCookiesOnly(button); });
        connect(cell->cleanBrowsingHistoryBtn, &QPushButton::clicked, this,
                [this, button = cell->cleanBrowsingHistoryBtn] { eraseHistoryOnly(button); });
        auto* item = new QListWidgetItem(privTablView);
        item->setSizeHint(QSize(0, qRound(tableViewHeightOfRow())));
        privTablView->setItemWidget(item, cell);
    }
}

void PrivScanVC::sendRowAction(QObject* sender, bool cookies, bool history)
{
    const qint64 row = tag(sender);
    if (!actionWithIndex || row < 0 || row >= arrangedObjects().size())
        return;
    actionWithIndex(row, arrangedObjects().at(row), checkboxState(), cookies, history);
}

qint64 PrivScanVC::checkboxState() const
{
    return shouldSecurelyEraseItemsCheck->isChecked() ? 1 : 0;
}

PrivScanVC_vert::PrivScanVC_vert(QObject* parent) : PrivScanVC(parent)
{
    view()->setObjectName(QStringLiteral("PrivScanVC_vert"));
    // The vertical screen covers the title bar as well.
    view()->layout()->setContentsMargins(16, 36, 16, 14);
}

double PrivScanVC_vert::tableViewHeightOfRow() const
{
    return 120.0;
}

} // namespace tolvex
