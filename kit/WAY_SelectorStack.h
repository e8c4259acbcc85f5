#pragma once

#include <algorithm>
#include <string_view>
#include <vector>

namespace tolvex {

// The delegate messages being forwarded at this moment, innermost last.
class WAY_SelectorStack {
public:
    using Selector = std::string_view;

    bool way_containsSelector(Selector selector) const
    {
        return std::find(selectors_.begin(), selectors_.end(), selector) != selectors_.end();
    }
    void way_pushSelector(Selector selector) { selectors_.push_back(selector); }
    Selector way_pop()
    {
        const Selector last = selectors_.back();
        selectors_.pop_back();
        return last;
    }

private:
    std::vector<Selector> selectors_;
};

} // namespace tolvex
