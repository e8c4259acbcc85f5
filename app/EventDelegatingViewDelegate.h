#pragma once

class QKeyEvent;
class QWidget;

namespace tolvex {

// The receiver of the key events that the main window's key-forwarding views pass on.
class EventDelegatingViewDelegate {
public:
    virtual ~EventDelegatingViewDelegate() = default;

    virtual void viewDidHandleEvent(QWidget* view, QKeyEvent* event) = 0;
};

} // namespace tolvex
