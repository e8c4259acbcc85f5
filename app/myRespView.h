#pragma once

#include <QWidget>

namespace tolvex {

class EventDelegatingViewDelegate;

// The main window's content surface. Every key press that reaches it, directly or passed up
// from a child that did not want it, goes to its event delegate and no further. Drags of text
// or files that miss the drop zones are taken and ignored.
class myRespView : public QWidget {
    Q_OBJECT

public:
    explicit myRespView(QWidget* parent = nullptr);

    EventDelegatingViewDelegate* eventDelegate() const { return eventDelegate_; }
    void setEventDelegate(EventDelegatingViewDelegate* delegate) { eventDelegate_ = delegate; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    EventDelegatingViewDelegate* eventDelegate_ = nullptr;
};

} // namespace tolvex
