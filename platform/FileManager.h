#pragma once

#include <QStringList>

namespace tolvex {

// The desktop's file manager.
class FileManager {
public:
    // Shows the items selected in file-manager windows, through the freedesktop FileManager1
    // D-Bus service. When no file manager answers, opens each item's parent folder with
    // xdg-open instead. Asynchronous: call it on a thread with an event loop (the GUI thread).
    // Nothing happens for an empty list.
    static void showItems(const QStringList& paths);
};

} // namespace tolvex
