#include "AppDelegate.h"
#include "app/SecureTrashPopover.h"
#include "kit/Tag.h"

namespace tolvex {

void AppDelegate::secureEmptyShowPop(QObject* sender)
{
    secureEmptyTrash_.secureEmptyShowPop(sender, tag(sender));
}

void AppDelegate::secureEmptyTrashAction(QObject* sender)
{
    secureEmptyTrash_.secureEmptyTrashAction(tag(sender));
}

bool AppDelegate::TrashPopover::isShown() const
{
    return delegate_.outlets_.secureTrashPopOver &&
           delegate_.outlets_.secureTrashPopOver->isVisible();
}

void AppDelegate::TrashPopover::close()
{
    if (delegate_.outlets_.secureTrashPopOver)
        delegate_.outlets_.secureTrashPopOver->hide();
}

void AppDelegate::TrashPopover::showRelativeTo(QObject* sender)
{
    if (delegate_.outlets_.secureTrashPopOver)
        delegate_.outlets_.secureTrashPopOver->showRelativeTo(qobject_cast<QWidget*>(sender));
}

} // namespace tolvex
