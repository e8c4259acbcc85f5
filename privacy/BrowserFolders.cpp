#include "privacy/BrowserFolders.h"

#include "platform/HomeFolder.h"
#include "platform/XdgFolders.h"

namespace tolvex {

std::optional<BrowserFolders> BrowserFolders::forCurrentUser()
{
    const std::optional<QString> home = HomeFolder::realHomeFolder();
    const std::optional<QString> library = XdgFolders::dataHome();
    const std::optional<QString> applicationSupport = XdgFolders::configHome();
    const std::optional<QString> caches = XdgFolders::cacheHome();
    if (!home || !library || !applicationSupport || !caches)
        return std::nullopt;
    return BrowserFolders{*home, *library, *applicationSupport, *caches};
}

} // namespace tolvex
