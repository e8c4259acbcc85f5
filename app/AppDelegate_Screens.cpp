#include "app/AppDelegate.h"
#include "kit/Tag.h"

namespace tolvex {

void AppDelegate::mouseDownTextFieldClicked(MouseDownTextField* field)
{
    secondaryScreens_.mouseDownTextFieldClicked(tag(field));
}

void AppDelegate::showPrefsAction(QObject* /*sender*/)
{
    secondaryScreens_.showPrefsAction();
}

void AppDelegate::showPrefsVCHorizOrVert(bool vertical)
{
    secondaryScreens_.showPrefsVCHorizOrVert(vertical);
}

void AppDelegate::showShredInfoHelp(QObject* /*sender*/)
{
    secondaryScreens_.showShredInfoHelp();
}

void AppDelegate::showUserDeniedAccessAlert()
{
    secondaryScreens_.showUserDeniedAccessAlert();
}

void AppDelegate::modalOverlayDidClose(const Notification& /*notification*/) {}

} // namespace tolvex
