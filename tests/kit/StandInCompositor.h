#pragma once

#include "platform/XcbReply.h"

#include <xcb/xcb.h>

namespace tolvex::testing {

// A compositing manager as a window sees one: a client of its own that owns the screen's
// compositing selection until it goes.
class StandInCompositor {
public:
    StandInCompositor() : connection_(xcb_connect(nullptr, nullptr))
    {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        const xcb_window_t owner = xcb_generate_id(connection_);
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, owner, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_set_selection_owner(connection_, owner, internAtom(connection_, "_NET_WM_CM_S0"),
                                XCB_CURRENT_TIME);
        xcb_flush(connection_);
    }
    ~StandInCompositor() { xcb_disconnect(connection_); }
    StandInCompositor(const StandInCompositor&) = delete;
    StandInCompositor& operator=(const StandInCompositor&) = delete;

private:
    xcb_connection_t* connection_;
};

} // namespace tolvex::testing
