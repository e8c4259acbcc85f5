#pragma once

namespace tolvex {

class WAYWindow;

// What a window tells its delegate. Every method has a default: a window without an answer
// closes, and a resize is simply noted.
class WindowDelegate {
public:
    virtual ~WindowDelegate() = default;
    virtual bool windowShouldClose(WAYWindow* sender);
    virtual void windowDidResize(WAYWindow* window);
};

} // namespace tolvex
