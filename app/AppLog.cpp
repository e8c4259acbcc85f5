#include "app/AppLog.h"

namespace tolvex {

Q_LOGGING_CATEGORY(lcApp, "tolvex.app")

} // namespace tolvex
