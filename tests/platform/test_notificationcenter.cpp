#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"

#include <QTest>
#include <thread>

using namespace tolvex;

class TestNotificationCenter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Observers of the name hear it on the posting thread (here not the main one), in the order
    // they were added; an observer may take itself off and post again while it is called.
    void deliversOnPostingThreadInOrderOfObservers()
    {
        NotificationCenter center;
        QStringList seen;
        center.addObserver("a", [&](const Notification& n) {
            seen << "first:" + n.object.toString() + (MainQueue::isMainThread() ? " on main" : "");
        });
        center.addObserver("b", [&](const Notification&) { seen << "other"; });
        NotificationCenter::Token token = center.addObserver("a", [&](const Notification& n) {
            seen << "second:" + n.object.toString();
            center.removeObserver(token);
            center.post("a", QStringLiteral("again"));
        });
        std::thread([&] { center.post("a", QStringLiteral("x")); }).join();
        QCOMPARE(seen, QStringList({"first:x", "second:x", "first:again"}));
    }

    void mainQueueRunsPostedBlocksOnGuiThreadInOrder()
    {
        QStringList order;
        std::thread([&] {
            QVERIFY(!MainQueue::isMainThread());
            MainQueue::post([&] {
                QVERIFY(MainQueue::isMainThread());
                order << "1";
            });
            MainQueue::postAfter(30, [&] { order << "delayed"; });
            MainQueue::post([&] { order << "2"; });
        }).join();
        QVERIFY(order.isEmpty());
        QTRY_COMPARE(order, QStringList({"1", "2", "delayed"}));
    }
};

QTEST_GUILESS_MAIN(TestNotificationCenter)
#include "test_notificationcenter.moc"
