#include "engine/EngineLog.h"

namespace tolvex {

Q_LOGGING_CATEGORY(lcEngine, "tolvex.engine")

} // namespace tolvex
