#include "MainWindowHud.h"

#include "kit/LocalEventMonitor.h"
#include "kit/MyHudAlert.h"
#include "kit/MyHudAlertWindow.h"

#include <QLabel>

namespace tolvex {

void MainWindowHud::alertWithWindow(QWidget* window, int type, const QString& message)
{
    MyHudAlert::alertWithWindow(window, type, message);
}

QString MainWindowHud::lastMessage()
{
    const MyHudAlert* alert = MyHudAlert::sharedAlert();
    // The alert's panel lives in the window it was shown over and goes with it.
    return alert && alert->window() ? alert->messageField()->text() : QString();
}

} // namespace tolvex
