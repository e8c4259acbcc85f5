#pragma once

#include <QString>

namespace tolvex::Utils {

// YES when the path's last component is the name of a mounted volume. Only the name is
// compared, so any folder named like a mounted volume counts as one.
bool checkIfPathIsAVolume(const QString& path);

} // namespace tolvex::Utils
