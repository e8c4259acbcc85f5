#include "privacy/SharedHTTPCookieStorage.h"

namespace tolvex {

std::shared_ptr<HTTPCookieStorage> SharedHTTPCookieStorage::sharedHTTPCookieStorage()
{
    static const std::shared_ptr<HTTPCookieStorage> shared =
        std::make_shared<SharedHTTPCookieStorage>();
    return shared;
}

} // namespace tolvex
