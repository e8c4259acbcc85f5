#pragma once

#include "privacy/HTTPCookieStorage.h"

#include <memory>

namespace tolvex {

// The system-wide cookie store of the browser that keeps its cookies behind an interface. No
// browser on this platform shares one, so it holds no cookies and deleting is a no-op.
class SharedHTTPCookieStorage : public HTTPCookieStorage {
public:
    static std::shared_ptr<HTTPCookieStorage> sharedHTTPCookieStorage();

    QList<HTTPCookie> cookies() const override { return {}; }
    void deleteCookie(const HTTPCookie&) override {}
};

} // namespace tolvex
