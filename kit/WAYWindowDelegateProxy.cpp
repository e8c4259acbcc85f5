#include "kit/WAYWindowDelegateProxy.h"

namespace tolvex {

bool WAYWindowDelegateProxy::windowShouldClose(WAYWindow* sender)
{
    bool answer = false;
    forwardInvocation("windowShouldClose:", [&](WindowDelegate* delegate) {
        answer = delegate->windowShouldClose(sender);
    });
    return answer;
}

void WAYWindowDelegateProxy::windowDidResize(WAYWindow* window)
{
    forwardInvocation("windowDidResize:",
                      [&](WindowDelegate* delegate) { delegate->windowDidResize(window); });
}

void WAYWindowDelegateProxy::forwardInvocation(
    WAY_SelectorStack::Selector selector, const std::function<void(WindowDelegate*)>& invocation)
{
    if (selectorStack_.way_containsSelector(selector))
        return;
    selectorStack_.way_pushSelector(selector);
    if (firstDelegate_)
        invocation(firstDelegate_);
    if (secondaryDelegate_)
        invocation(secondaryDelegate_);
    selectorStack_.way_pop();
}

} // namespace tolvex
