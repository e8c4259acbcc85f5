#pragma once

namespace tolvex {

// The one overlay that shows the secondary screens over the main window. Main thread only.
class ModalOverlay {
public:
    virtual ~ModalOverlay() = default;
    virtual void close() = 0;
};

} // namespace tolvex
