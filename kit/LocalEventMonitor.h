#pragma once

#include <QObject>
#include <QPointF>
#include <functional>

namespace tolvex {

// Sees every mouse press of the application once, before it reaches its target, and lets it go
// on unchanged.
class LocalEventMonitor : public QObject {
    Q_OBJECT

public:
    // Receives the press's position in global coordinates and its button.
    using Handler = std::function<void(QPointF globalPosition, Qt::MouseButton button)>;

    // Watches presses of the given buttons until the returned monitor is removed.
    static LocalEventMonitor* addLocalMonitorForMouseDown(Qt::MouseButtons buttons,
                                                          Handler handler);
    static void removeMonitor(LocalEventMonitor* monitor);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LocalEventMonitor(Qt::MouseButtons buttons, Handler handler);

    Qt::MouseButtons buttons_;
    Handler handler_;
};

} // namespace tolvex
