#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace tolvex {

// Owns one screen's view. The view is shown by whoever presents the controller (the modal
// overlay) and comes back to the controller, unparented and hidden, when the screen goes away.
class ViewController : public QObject {
    Q_OBJECT

public:
    explicit ViewController(QObject* parent = nullptr);
    ~ViewController() override;

    QWidget* view() const { return view_; }
    // Takes ownership of `view`; a previous view is deleted.
    void setView(QWidget* view);

private:
    QPointer<QWidget> view_;
};

} // namespace tolvex
