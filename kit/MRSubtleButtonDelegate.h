#pragma once

class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace tolvex {

class MRSubtleButton;

// Decides what a MRSubtleButton's input means; the button itself never acts on it.
class MRSubtleButtonDelegate {
public:
    virtual ~MRSubtleButtonDelegate() = default;

    // A key press or key equivalent that reached `view`, the button itself.
    virtual void viewDidHandleEvent(QWidget* view, QKeyEvent* event) = 0;

    // A left mouse press or release on `from`; the event's type tells which.
    virtual void subtleButtonEvent(QMouseEvent* event, MRSubtleButton* from) = 0;
};

} // namespace tolvex
