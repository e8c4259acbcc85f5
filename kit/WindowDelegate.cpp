#include "kit/WindowDelegate.h"

namespace tolvex {

bool WindowDelegate::windowShouldClose(WAYWindow*)
{
    return true;
}

void WindowDelegate::windowDidResize(WAYWindow*) {}

} // namespace tolvex
