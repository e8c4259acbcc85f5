#pragma once

namespace tolvex {

// Whether the window system composites windows, so that a window's transparent pixels show
// what lies behind it: always on Wayland; on X11 when a compositing manager runs.
bool windowSystemComposites();

} // namespace tolvex
