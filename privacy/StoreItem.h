#pragma once

#include "privacy/NoFollowFolder.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tolvex {

// One item a privacy scan listed, reached from the folder the browser keeps it under (one of
// the user's data roots) one folder at a time, without following a link on the way. The item
// itself is never followed either: a link goes as the link.
class StoreItem {
public:
    // The folders every browser keeps its data under: the XDG data, config and cache folders, and
    // those of the home folder that browsers own.
    static QStringList browserRoots();

    // The item at `path` below one of `roots`. Nothing with no error when it does not exist;
    // nothing with an error when it lies outside the roots or a folder on the way is a link.
    static std::optional<StoreItem> find(const QString& path, const QStringList& roots,
                                         std::error_code& error);

    std::error_code remove() const { return parent_.removeChild(name_); }
    // The item's path through the root's real location, with no link below the root as found.
    QString reachedPath() const { return reachedPath_; }

private:
    StoreItem(NoFollowFolder parent, std::string name, QString reachedPath)
        : parent_(std::move(parent)), name_(std::move(name)), reachedPath_(std::move(reachedPath))
    {}

    NoFollowFolder parent_;
    std::string name_;
    QString reachedPath_;
};

} // namespace tolvex
