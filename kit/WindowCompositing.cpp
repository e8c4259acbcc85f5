#include "kit/WindowCompositing.h"

#include <QGuiApplication>
#include <X11/Xlib.h>

namespace tolvex {

bool windowSystemComposites()
{
    if (!qGuiApp)
        return false;
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return true;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return false;
    // A compositing manager owns this selection for the screen it composites (EWMH).
    const QByteArray selection = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(display));
    const Atom atom = XInternAtom(display, selection.constData(), False);
    return XGetSelectionOwner(display, atom) != None;
}

} // namespace tolvex
