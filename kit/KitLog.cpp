#include "kit/KitLog.h"

namespace tolvex {

Q_LOGGING_CATEGORY(lcKit, "tolvex.kit")

} // namespace tolvex
