#include "kit/CompositingMonitor.h"

#include "platform/XcbReply.h"

#include <QGuiApplication>
#include <X11/Xlib.h>
#include <cstdlib>
#include <string>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace tolvex {

namespace {

constexpr uint8_t kSentEventFlag = 0x80;

} // namespace

CompositingMonitor* CompositingMonitor::instance()
{
    if (auto* monitor =
            qGuiApp->findChild<CompositingMonitor*>(QString(), Qt::FindDirectChildrenOnly))
        return monitor;
    return new CompositingMonitor(qGuiApp);
}

CompositingMonitor::CompositingMonitor(QObject* parent) : QObject(parent)
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        composites_ = true;
    else
        watchX11();
}

void CompositingMonitor::watchX11()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    // A compositing manager owns this selection for the screen it composites (EWMH).
    const int screen = DefaultScreen(x11->display());
    const xcb_window_t root = RootWindow(x11->display(), screen);
    managerSelection_ = internAtom(connection, "_NET_WM_CM_S" + std::to_string(screen));
    if (managerSelection_ == XCB_ATOM_NONE)
        return;

    // XFixes reports every change of the selection's owner, a manager that quits included.
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (xfixes && xfixes->present) {
        std::free(xcb_xfixes_query_version_reply(connection,
                                                 xcb_xfixes_query_version(connection,
                                                                          XCB_XFIXES_MAJOR_VERSION,
                                                                          XCB_XFIXES_MINOR_VERSION),
                                                 nullptr));
        xcb_xfixes_select_selection_input(
            connection, root, managerSelection_,
            XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        ownerChangeEvent_ = uint8_t(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    const XcbReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, managerSelection_), nullptr));
    composites_ = owner && owner->owner != XCB_NONE;
}

bool CompositingMonitor::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || ownerChangeEvent_ == 0)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~kSentEventFlag) != ownerChangeEvent_)
        return false;
    const auto* change = static_cast<const xcb_xfixes_selection_notify_event_t*>(message);
    if (change->selection != managerSelection_)
        return false;
    // A manager that quits or loses its window leaves the selection without an owner.
    const bool composites = change->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER &&
                            change->owner != XCB_NONE;
    if (composites != composites_) {
        composites_ = composites;
        Q_EMIT compositingChanged(composites);
    }
    return false;
}

} // namespace tolvex
