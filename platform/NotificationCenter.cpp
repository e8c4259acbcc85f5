#include "NotificationCenter.h"

#include <algorithm>

namespace tolvex {

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::Token NotificationCenter::addObserver(const QString& name, Observer observer)
{
    std::lock_guard lock(mutex_);
    const Token token = nextToken_++;
    entries_.push_back({token, name, std::move(observer)});
    return token;
}

void NotificationCenter::removeObserver(Token token)
{
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [token](const Entry& e) { return e.token == token; });
}

void NotificationCenter::post(const QString& name, const QVariant& object)
{
    // Observers run outside the lock so that one may add or remove observers, or post again.
    std::vector<Observer> receivers;
    {
        std::lock_guard lock(mutex_);
        for (const Entry& e : entries_)
            if (e.name == name)
                receivers.push_back(e.observer);
    }
    const Notification notification{name, object};
    for (const Observer& observer : receivers)
        observer(notification);
}

} // namespace tolvex
