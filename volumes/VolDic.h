#pragma once

#include <QList>
#include <QString>

namespace tolvex {

// One mounted, writable volume as the volumes screen lists it.
struct VolDic {
    QString dskName; // the name to show: the volume's label, else its folder's name
    QString dskPath; // the mount point
    bool dskRemovable = false;
    bool dskWritable = false;
    bool dskUnmountable = false;
    QString dskDescrip; // the file-system type as the mount table names it
    QString dskType;
    bool dskIsDMG = false; // a loop-mounted image file
    QString dskFreeSpace_readable;
    quint64 dskFreeSpace_long = 0; // what the user may still write, as df's "Avail"
    quint64 dskTotalSpace_long = 0;
    QString dskTotalSpace_readable;
    quint64 dskOccupiedSpace_long = 0; // df's "Used": the blocks kept for root are not in it
    QString dskOccupiedSpace_readable;

    bool operator==(const VolDic&) const = default;
};

using VolDics = QList<VolDic>;

} // namespace tolvex
