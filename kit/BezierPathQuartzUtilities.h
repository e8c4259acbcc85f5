#pragma once

#include <QPainterPath>
#include <optional>

namespace tolvex::BezierPathQuartzUtilities {

// A copy of `path` for layer-style stroking, in which an open last subpath is closed with a
// straight segment back to its start. A subpath counts as closed when its last segment ends on
// its start point (that is how QPainterPath records a closed figure), so such a path is not
// closed twice. Answers nothing for a path without elements.
std::optional<QPainterPath> quartzPath(const QPainterPath& path);

} // namespace tolvex::BezierPathQuartzUtilities
