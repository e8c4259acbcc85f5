#pragma once

#include <QObject>

struct libmnt_monitor;
class QSocketNotifier;

namespace tolvex {

// Tells when anything is mounted or unmounted, through libmount's monitor of the kernel's mount
// table. Signals come on the thread that made the monitor, from its event loop. Where the kernel's
// table cannot be watched, the monitor stays silent.
class MountMonitor : public QObject {
    Q_OBJECT

public:
    explicit MountMonitor(QObject* parent = nullptr);
    ~MountMonitor() override;

Q_SIGNALS:
    void mountsChanged();

private:
    void readChanges();

    libmnt_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tolvex
