#include "AppDelegate.h"
#include "app/NamedImage.h"
#include "kit/AlertPresenter.h"
#include "kit/DisableSubviews.h"
#include "kit/JESCircularProgressView.h"
#include "kit/JMModalOverlay.h"
#include "kit/MouseDownTextField.h"
#include "kit/MyHudAlert.h"
#include "kit/UtilsSystem.h"
#include "kit/WAYWindow.h"
#include "privacy/WorkspaceIcons.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>

namespace tolvex {

void AppDelegate::hideClearRevealView(qint64 tag)
{
    const std::optional<ZoneOutlets> zone = zoneOutlets(tag);
    if (!zone || !zone->clearRevealView)
        return;
    zone->clearRevealView->hide();
    disableSubviews(zone->clearRevealView, true);
}

void AppDelegate::setPassMainTF(qint64 tag, double fontSize, const QString& text)
{
    const std::optional<ZoneOutlets> zone = zoneOutlets(tag);
    if (!zone || !zone->mainTF)
        return;
    const QFont font = fontForPassMainTFWithSize(fontSize);
    if (zone->indic) {
        zone->indic->fitTitle(zone->mainTF, font, text);
        return;
    }
    if (zone->mainTF->font() != font)
        zone->mainTF->setFont(font);
    zone->mainTF->setText(text);
}

void AppDelegate::setPassDescrTF(qint64 tag, const QString& text)
{
    const std::optional<ZoneOutlets> zone = zoneOutlets(tag);
    if (!zone || !zone->descrTF)
        return;
    if (zone->indic)
        zone->indic->fitLine(zone->descrTF, text);
    else
        zone->descrTF->setText(text);
}

void AppDelegate::setAddNewFilesBtnImage(qint64 tag, const QString& imageName)
{
    if (const std::optional<ZoneOutlets> zone = zoneOutlets(tag))
        NamedImage::setImage(zone->addNewFilesBtn, imageName);
}

void AppDelegate::setPassIndicProgress(qint64 tag, double progress, bool animated)
{
    const std::optional<ZoneOutlets> zone = zoneOutlets(tag);
    if (zone && zone->indic)
        zone->indic->setProgress(progress, animated);
}

void AppDelegate::alertWithWindow(int type, const QString& message)
{
    MyHudAlert::alertWithWindow(outlets_.window, type, message);
}

void AppDelegate::close()
{
    if (outlets_.modalOverlay)
        outlets_.modalOverlay->close();
}

void AppDelegate::beginSheetModal(const SheetAlert& alert,
                                  std::function<void(int response)> completionHandler)
{
    const auto style = [&] {
        switch (alert.style) {
        case SheetAlert::Style::Informational:
            return AlertStyle::Informational;
        case SheetAlert::Style::Critical:
            return AlertStyle::Critical;
        case SheetAlert::Style::Warning:
            break;
        }
        return AlertStyle::Warning;
    }();
    // The answer may come after this delegate, and the parts the handler works on, are gone.
    QPointer<AppDelegate> self(this);
    AlertPresenter::beginSheetModalForWindow(
        {alert.messageText, alert.informativeText, alert.buttons, style,
         alert.iconFilePath.isEmpty() ? QIcon() : WorkspaceIcons::iconForFile(alert.iconFilePath)},
        outlets_.window, [self, completionHandler = std::move(completionHandler)](int response) {
            if (self && completionHandler)
                completionHandler(response);
        });
}

bool AppDelegate::XRRunningOnOSXCatalinaOrLater()
{
    return Utils::XRRunningOnOSXCatalinaOrLater();
}

bool AppDelegate::shouldShowAlertAboutFullDiskAccess()
{
    return Utils::shouldShowAlertAboutFullDiskAccess();
}

void AppDelegate::askUserPermissionForFullDiskAccess()
{
    Utils::askUserPermissionForFullDiskAccess();
}

void AppDelegate::terminate()
{
    // On the next turn of the event loop, after the event being handled.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

} // namespace tolvex
