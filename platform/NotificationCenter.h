#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace tolvex {

struct Notification {
    QString name;
    QVariant object; // the payload; a record travels as a registered metatype
};

// Named notifications with a payload. `post` delivers synchronously, on the posting thread, to
// every observer of that name in the order they were added; observers that need the GUI thread
// hop there themselves (MainQueue). Observers may be added and removed from any thread; an
// observer removed while a delivery is under way on another thread may still receive that one.
class NotificationCenter {
public:
    using Observer = std::function<void(const Notification&)>;
    using Token = std::uint64_t;

    // The process-wide centre.
    static NotificationCenter& defaultCenter();

    Token addObserver(const QString& name, Observer observer);
    void removeObserver(Token token);
    void post(const QString& name, const QVariant& object = {});

private:
    struct Entry {
        Token token;
        QString name;
        Observer observer;
    };

    std::mutex mutex_;
    std::vector<Entry> entries_;
    Token nextToken_ = 1;
};

} // namespace tolvex
