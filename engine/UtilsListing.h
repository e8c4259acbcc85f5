#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tolvex::Utils {

// The folder's children one level deep, in the order the file system lists them, each named
// under `folder` as given. A symbolic link is listed as the link itself, never as its target:
// these listings decide what gets shredded, and a link's target may lie anywhere. Hidden items
// (a leading dot) are left out unless `withHiddenFiles`. Nothing (not an empty list) when the
// folder is empty or cannot be read.
std::optional<QStringList> childrenOneLevelKeepingLinks(const QString& folder,
                                                        bool withHiddenFiles);

} // namespace tolvex::Utils
