#pragma once

#include <QObject>

struct libmnt_monitor;
class QSocketNotifier;

namespace tolvex {

// Tells when anything is mounted or unmounted, through libmount's monitor of the kernel's mount
// table. Signals come on the thread that made the monitor, from its event loop.
class MountMonitor : public QObject {
    Q_OBJECT

public:
    explicit MountMonitor(QObject* parent = nullptr);
    ~MountMonitor() override;

    // Whether the kernel's mount table is being watched.
    bool isWatching() const { return notifier_ != nullptr; }

Q_SIGNALS:
    void mountsChanged();

private:
    void readChanges();

    libmnt_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tolvex
