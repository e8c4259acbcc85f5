#include "MainQueue.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

namespace tolvex {

void MainQueue::post(Block block)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(block), Qt::QueuedConnection);
}

void MainQueue::postAfter(int delayMs, Block block)
{
    // The timer must live on the GUI thread, so the delay starts there.
    post([delayMs, block = std::move(block)]() mutable {
        QTimer::singleShot(delayMs, QCoreApplication::instance(), std::move(block));
    });
}

bool MainQueue::isMainThread()
{
    return QCoreApplication::instance() &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

} // namespace tolvex
