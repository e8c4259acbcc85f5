#pragma once

#include <QString>

namespace tolvex {

// Path-string arithmetic on absolute paths, judged on the string alone: trailing slashes are
// ignored, "/" stays "/".
QString lastPathComponent(const QString& path);
QString deletingLastPathComponent(const QString& path);
// `folder` + "/" + `component`, without doubling a slash that ends `folder`.
QString appendingPathComponent(const QString& folder, const QString& component);

} // namespace tolvex
