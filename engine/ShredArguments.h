#pragma once

#include "engine/ShredArgumentsDic.h"
#include "engine/ShredEntryDic.h"

#include <QByteArray>

namespace tolvex {

// What the helper is given: each method's flag and paths, and how the paths reach it.
class ShredArguments {
public:
    // The method's list id of a record: 0 or a missing "passIndx" is 1-pass; other values name
    // no method.
    static qint64 methodOf(const ShredEntryDic& record);

    // Per method with an item that exists now: its flag, then its paths in record order.
    static ShredArgumentsDic forRecords(const ShredEntryDics& records);

    // The flag that makes the helper read its paths from standard input, so that no list is
    // too long for a command line.
    static QString pathsOnInputFlag();

    // Each path's bytes ended by a NUL byte, the one byte no path holds: the helper's standard
    // input under pathsOnInputFlag.
    static QByteArray pathsOnInput(const QStringList& paths);
};

} // namespace tolvex
