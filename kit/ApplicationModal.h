#pragma once

#include <QtGlobal>

class QWidget;

namespace tolvex {

// The application's modal window. While a modal session runs for a window (a top-level window or
// a widget standing in for a window inside another one), mouse, wheel and key input to every
// other part of the application's ordinary windows is held back; dialogs, popups and tool
// windows still take input, so sheets and panels work. Sessions nest: the latest one that has
// not ended names the modal window. Main thread only.
class ApplicationModal {
public:
    using ModalSession = quint64;

    // Makes `window` the modal window and moves the keyboard focus into it.
    static ModalSession beginModalSessionForWindow(QWidget* window);

    // Ends the session; when it was the last one, focus goes back where it was at its beginning.
    static void endModalSession(ModalSession session);

    // The window of the latest running session, or null.
    static QWidget* modalWindow();

    // Whether something stands over `widget` and takes the input meant for it: the window of a
    // running session that does not hold it, or a modal dialog (a sheet, a panel) or a popup
    // outside its window.
    static bool isBlocked(const QWidget* widget);
};

} // namespace tolvex
