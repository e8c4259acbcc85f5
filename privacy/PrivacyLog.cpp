#include "privacy/PrivacyLog.h"

namespace tolvex {

Q_LOGGING_CATEGORY(lcPrivacy, "tolvex.privacy")

} // namespace tolvex
