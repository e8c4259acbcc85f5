#include "volumes/VolumesLog.h"

namespace tolvex {

Q_LOGGING_CATEGORY(lcVolumes, "tolvex.volumes")

} // namespace tolvex
