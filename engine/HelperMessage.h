#pragma once

#include <QByteArray>
#include <QString>

namespace tolvex {

// One line of the helper's progress output, read: an item starting ("removing PATH"), the
// current item's progress ("N%"), the item done ("done"), or nothing the runs act on.
struct HelperMessage {
    enum class Kind { Other, Removing, Progress, Done };

    Kind kind = Kind::Other;
    // The item a Removing message names, as the bytes the helper was given.
    QString path;
    // The current item's finished fraction: p of a Progress message, 1 for Done.
    double fraction = 0.0;

    static HelperMessage read(const QByteArray& line);
};

} // namespace tolvex
