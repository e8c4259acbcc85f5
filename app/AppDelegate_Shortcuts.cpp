#include "AppDelegate.h"
#include "app/MacKeyCode.h"
#include "kit/ApplicationModal.h"
#include "kit/WAYWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

namespace tolvex {

namespace {

// Hiding an application on this desktop is minimising all of its windows.
void hideApplication()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->isWindow())
            window->showMinimized();
}

} // namespace

void AppDelegate::viewDidHandleEvent(QWidget* /*view*/, QKeyEvent* event)
{
    if (!event || event->type() != QEvent::KeyPress)
        return;
    // The window's shortcuts wait while a screen, sheet, panel or popover stands over it.
    if (outlets_.window && ApplicationModal::isBlocked(outlets_.window))
        return;
    const std::optional<int> keyCode = MacKeyCode::fromNativeScanCode(event->nativeScanCode());
    if (!keyCode)
        return;
    switch (ShortcutTable::actionFor(event->modifiers(), *keyCode, keyboardLayout_)) {
    case ShortcutAction::None:
        return;
    case ShortcutAction::Quit:
        terminate();
        return;
    case ShortcutAction::CloseWindow:
        if (outlets_.window)
            outlets_.window->close();
        return;
    case ShortcutAction::Minimise:
        if (QWidget* keyWindow = QApplication::activeWindow())
            keyWindow->showMinimized();
        return;
    case ShortcutAction::ShredEverything:
        shredEverything();
        return;
    case ShortcutAction::Preferences:
        showPrefsAction(nullptr);
        return;
    case ShortcutAction::Hide:
        QTimer::singleShot(0, qApp, &hideApplication);
        return;
    case ShortcutAction::SwitchLayout:
        toggleWindowHorizontal(outlets_.toggleHorizontalVerticalBtn);
        return;
    case ShortcutAction::SecureEmptyTrash:
        secureEmptyShowPop(outlets_.secEmptyTrashBtn);
        return;
    case ShortcutAction::PrivacyScan:
        privScanStart();
        return;
    }
}

void AppDelegate::subtleButtonEvent(QMouseEvent* event, MRSubtleButton* /*from*/)
{
    if (event && event->type() == QEvent::MouseButtonRelease)
        shredEverything();
}

void AppDelegate::shredEverything()
{
    shredRuns_.shredFiles(shredLists_.pathsDicsForEditVC(), false);
}

} // namespace tolvex
