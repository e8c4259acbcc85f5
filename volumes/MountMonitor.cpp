#include "volumes/MountMonitor.h"

#include <QSocketNotifier>
#include <libmount.h>

namespace tolvex {

MountMonitor::MountMonitor(QObject* parent) : QObject(parent), monitor_(mnt_new_monitor())
{
    if (!monitor_ || mnt_monitor_enable_kernel(monitor_, 1) != 0)
        return;
    const int fd = mnt_monitor_get_fd(monitor_);
    if (fd < 0)
        return;
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &MountMonitor::readChanges);
}

MountMonitor::~MountMonitor()
{
    delete notifier_;
    mnt_unref_monitor(monitor_);
}

void MountMonitor::readChanges()
{
    // One signal for all the changes that are waiting: a mount often changes the table twice.
    bool changed = false;
    while (mnt_monitor_next_change(monitor_, nullptr, nullptr) == 0)
        changed = true;
    if (changed)
        Q_EMIT mountsChanged();
}

} // namespace tolvex
