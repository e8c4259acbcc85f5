#pragma once

#include <QSet>
#include <QStringList>

namespace tolvex::Utils {

// The mount points of the mounted volumes other than the root, cleaned of ".", ".." and
// repeated or trailing slashes. The root's top-level items are the system itself.
QSet<QString> volumeMountPoints();

// YES when the path, cleaned the same way, is itself one of `mountPoints`: a folder that is
// only named like a volume is not one.
bool checkIfPathIsAVolume(const QString& path, const QSet<QString>& mountPoints);

// The paths with each volume among them replaced by its visible top-level items (links named as
// themselves), which follow the other paths; a volume without such items leaves nothing.
QStringList expandVolumes(const QStringList& paths);

} // namespace tolvex::Utils
