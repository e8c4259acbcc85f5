#pragma once

#include <QString>

namespace tolvex {

// Path-string arithmetic on absolute paths, judged on the string alone: trailing slashes are
// ignored, "/" stays "/".
QString lastPathComponent(const QString& path);
QString deletingLastPathComponent(const QString& path);

} // namespace tolvex
