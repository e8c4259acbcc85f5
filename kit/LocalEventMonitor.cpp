#include "kit/LocalEventMonitor.h"

#include <QCoreApplication>
#include <QMouseEvent>

namespace tolvex {

LocalEventMonitor::LocalEventMonitor(Qt::MouseButtons buttons, Handler handler)
    : QObject(QCoreApplication::instance()), buttons_(buttons), handler_(std::move(handler))
{
    QCoreApplication::instance()->installEventFilter(this);
}

LocalEventMonitor* LocalEventMonitor::addLocalMonitorForMouseDown(Qt::MouseButtons buttons,
                                                                  Handler handler)
{
    return new LocalEventMonitor(buttons, std::move(handler));
}

void LocalEventMonitor::removeMonitor(LocalEventMonitor* monitor)
{
    QCoreApplication::instance()->removeEventFilter(monitor);
    monitor->handler_ = {};
    monitor->deleteLater();
}

bool LocalEventMonitor::eventFilter(QObject* watched, QEvent* event)
{
    // A press reaches its window once and then travels through the widgets; watching it at the
    // window sees each click exactly once.
    if (event->type() != QEvent::MouseButtonPress || !watched->isWindowType())
        return false;
    const auto* press = static_cast<QMouseEvent*>(event);
    if (!(buttons_ & press->button()) || !handler_)
        return false;
    // The handler may remove this monitor; it runs from a copy that outlives that.
    const Handler handler = handler_;
    handler(press->globalPosition(), press->button());
    return false;
}

} // namespace tolvex
