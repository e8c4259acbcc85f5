#include "app/AppDelegate.h"
#include "kit/Tag.h"
#include "kit/WAYWindow.h"

namespace tolvex {

void AppDelegate::addNewFilesToShredPass(QObject* sender)
{
    fileIntake_.addNewFilesToShredPass(tag(sender), sender);
}

void AppDelegate::serviceMenuShred(const QStringList& paths)
{
    fileIntake_.serviceMenuShred(paths);
}

void AppDelegate::applicationOpenFiles(const QStringList& paths)
{
    fileIntake_.applicationOpenFiles(paths);
}

DropView* AppDelegate::dropViewForTag(qint64 tag)
{
    const std::optional<ZoneOutlets> zone = zoneOutlets(tag);
    return zone ? zone->dropView : nullptr;
}

QWidget* AppDelegate::mainWindow()
{
    return outlets_.window;
}

} // namespace tolvex
