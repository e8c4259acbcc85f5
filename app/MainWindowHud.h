#pragma once

#include <QString>

class QWidget;

namespace tolvex {

// The HUD alert over a window, for code that also sees the engine's HUD interface: the two
// declare their alert types under one name, so only this file includes the kit's alert.
class MainWindowHud {
public:
    static void alertWithWindow(QWidget* window, int type, const QString& message);
    // The text of the alert shown last, empty before the first and once its window is gone.
    static QString lastMessage();
};

} // namespace tolvex
