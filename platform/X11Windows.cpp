#include "platform/X11Windows.h"

#include "platform/XcbReply.h"

#include <cstring>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace tolvex {

namespace {

struct ConnectionCloser {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};

// The source indication of a close request sent on the user's behalf by a pager or taskbar.
constexpr uint32_t kUserAction = 2;

std::vector<uint32_t> cardinals(xcb_connection_t* connection, xcb_window_t window,
                                xcb_atom_t property, xcb_atom_t type)
{
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, UINT32_MAX / 4),
        nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

// The managed windows the window manager lists, else (no window manager) the root's children.
std::vector<xcb_window_t> topLevelWindows(xcb_connection_t* connection, xcb_window_t root,
                                          xcb_atom_t clientList)
{
    std::vector<xcb_window_t> windows = cardinals(connection, root, clientList, XCB_ATOM_WINDOW);
    if (!windows.empty())
        return windows;
    const XcbReply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr));
    if (!tree)
        return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return {children, children + xcb_query_tree_children_length(tree.get())};
}

void sendMessage(xcb_connection_t* connection, xcb_window_t destination, uint32_t eventMask,
                 xcb_window_t window, xcb_atom_t type, uint32_t first, uint32_t second)
{
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    event.data.data32[0] = first;
    event.data.data32[1] = second;
    xcb_send_event(connection, 0, destination, eventMask, reinterpret_cast<const char*>(&event));
}

} // namespace

bool X11Windows::closeWindowsOf(pid_t pid)
{
    if (!std::getenv("DISPLAY"))
        return false;
    const std::unique_ptr<xcb_connection_t, ConnectionCloser> connection(
        xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(connection.get()))
        return false;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection.get())).data;
    if (!screen)
        return false;
    xcb_connection_t* x = connection.get();
    const xcb_atom_t clientList = internAtom(x, "_NET_CLIENT_LIST");
    const xcb_atom_t windowPid = internAtom(x, "_NET_WM_PID");
    const xcb_atom_t closeWindow = internAtom(x, "_NET_CLOSE_WINDOW");
    const xcb_atom_t protocols = internAtom(x, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = internAtom(x, "WM_DELETE_WINDOW");
    const bool managed = !cardinals(x, screen->root, clientList, XCB_ATOM_WINDOW).empty();
    bool closed = false;
    for (const xcb_window_t window : topLevelWindows(x, screen->root, clientList)) {
        const std::vector<uint32_t> owner = cardinals(x, window, windowPid, XCB_ATOM_CARDINAL);
        if (owner.empty() || pid_t(owner.front()) != pid)
            continue;
        if (managed)
            sendMessage(x, screen->root,
                        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                        window, closeWindow, XCB_CURRENT_TIME, kUserAction);
        else
            sendMessage(x, window, XCB_EVENT_MASK_NO_EVENT, window, protocols, deleteWindow,
                        XCB_CURRENT_TIME);
        closed = true;
    }
    xcb_flush(x);
    return closed;
}

} // namespace tolvex
