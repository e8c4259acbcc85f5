#pragma once

class QObject;

namespace tolvex {

// A popup anchored to the control that opened it. Main thread only.
class Popover {
public:
    virtual ~Popover() = default;
    virtual bool isShown() const = 0;
    virtual void close() = 0;
    // Shows the popover below `sender`, relative to its bounds.
    virtual void showRelativeTo(QObject* sender) = 0;
};

} // namespace tolvex
