#pragma once

#include <QLoggingCategory>

namespace tolvex {

// Every log line of the privacy cleaner goes to "tolvex.privacy", which QT_LOGGING_RULES can
// silence or enable on its own (see docs/ARCHITECTURE.md).
Q_DECLARE_LOGGING_CATEGORY(lcPrivacy)

} // namespace tolvex
