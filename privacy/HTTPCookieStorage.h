#pragma once

#include <QList>
#include <QString>

namespace tolvex {

struct HTTPCookie {
    QString domain;
    QString name;
    QString path;

    bool operator==(const HTTPCookie&) const = default;
};

// A cookie store kept behind an interface rather than in files. Thread-safe.
class HTTPCookieStorage {
public:
    virtual ~HTTPCookieStorage() = default;
    virtual QList<HTTPCookie> cookies() const = 0;
    virtual void deleteCookie(const HTTPCookie& cookie) = 0;
};

} // namespace tolvex
