#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <cstdint>

namespace tolvex {

// Whether the window system composites windows, so that a window's transparent pixels show what
// lies behind it: always on Wayland; on X11 while a compositing manager runs, which may start and
// stop at any time (desktops have a switch that suspends compositing).
class CompositingMonitor : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // The application's one monitor, made on first use; it lives as long as the application.
    static CompositingMonitor* instance();

    bool composites() const { return composites_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    void compositingChanged(bool composites);

private:
    explicit CompositingMonitor(QObject* parent);
    void watchX11();

    bool composites_ = false;
    // The selection a compositing manager owns for our screen, and the event that tells of a
    // change of its owner; both 0 where there is nothing to watch.
    uint32_t managerSelection_ = 0;
    uint8_t ownerChangeEvent_ = 0;
};

} // namespace tolvex
