#pragma once

#include "kit/WAY_SelectorStack.h"
#include "kit/WindowDelegate.h"

#include <functional>

namespace tolvex {

// Hands each delegate message to the window first and then to the delegate the application set.
// A message that arrives again while it is being forwarded (a delegate that makes the window ask
// the same question) reaches nobody the second time and gets the empty answer. Neither delegate
// is owned.
class WAYWindowDelegateProxy : public WindowDelegate {
public:
    WindowDelegate* firstDelegate() const { return firstDelegate_; }
    void setFirstDelegate(WindowDelegate* delegate) { firstDelegate_ = delegate; }
    WindowDelegate* secondaryDelegate() const { return secondaryDelegate_; }
    void setSecondaryDelegate(WindowDelegate* delegate) { secondaryDelegate_ = delegate; }

    bool windowShouldClose(WAYWindow* sender) override;
    void windowDidResize(WAYWindow* window) override;

private:
    void forwardInvocation(WAY_SelectorStack::Selector selector,
                           const std::function<void(WindowDelegate*)>& invocation);

    WAY_SelectorStack selectorStack_;
    WindowDelegate* secondaryDelegate_ = nullptr;
    WindowDelegate* firstDelegate_ = nullptr;
};

} // namespace tolvex
