#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

using namespace tolvex;

class TestNotificationCenter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deliversOnPostingThreadInOrderOfObservers()
    {
        NotificationCenter center;
        QStringList seen;
        QThread* deliveredOn = nullptr;
        center.addObserver("a", [&](const Notification& n) {
            seen << "first:" + n.object.toString();
            deliveredOn = QThread::currentThread();
        });
        center.addObserver("b", [&](const Notification&) { seen << "other"; });
        center.addObserver("a",
                           [&](const Notification& n) { seen << "second:" + n.object.toString(); });

        std::thread poster([&] { center.post("a", QStringLiteral("x")); });
        poster.join();

        QCOMPARE(seen, QStringList({"first:x", "second:x"}));
        QVERIFY(deliveredOn != QThread::currentThread());
    }

    void observerMayRemoveItselfAndPostAgain()
    {
        NotificationCenter center;
        int calls = 0;
        NotificationCenter::Token token = 0;
        token = center.addObserver("n", [&](const Notification&) {
            ++calls;
            center.removeObserver(token);
            center.post("n");
        });
        center.post("n");
        center.post("n");
        QCOMPARE(calls, 1);
    }

    void mainQueueRunsPostedBlocksOnGuiThreadInOrder()
    {
        QStringList order;
        std::thread worker([&] {
            QVERIFY(!MainQueue::isMainThread());
            MainQueue::post([&] {
                QVERIFY(MainQueue::isMainThread());
                order << "1";
            });
            MainQueue::postAfter(30, [&] { order << "delayed"; });
            MainQueue::post([&] { order << "2"; });
        });
        worker.join();
        QVERIFY(order.isEmpty());
        QTRY_COMPARE(order, QStringList({"1", "2", "delayed"}));
    }
};

QTEST_GUILESS_MAIN(TestNotificationCenter)
#include "test_notificationcenter.moc"
