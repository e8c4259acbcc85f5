#pragma once

#include <QLoggingCategory>

namespace tolvex {

// Every log line of the widget kit goes to "tolvex.kit", which QT_LOGGING_RULES can silence
// or enable on its own (see docs/ARCHITECTURE.md).
Q_DECLARE_LOGGING_CATEGORY(lcKit)

} // namespace tolvex
