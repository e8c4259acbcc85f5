#pragma once

#include <QtGlobal>

class QObject;

namespace tolvex {

class FullDiskAccess;
class HudAlert;
class Popover;
class SheetPresenter;
class ShredRuns;

// Secure Empty Trash: shreds every mounted volume's Trash with one method, through the shred
// runs. Main thread only.
class SecureEmptyTrash {
public:
    SecureEmptyTrash(ShredRuns& runs, HudAlert& hud, Popover& secureTrashPopOver,
                     SheetPresenter& sheets, FullDiskAccess& fullDiskAccess);

    // The trash button (or its shortcut): asks for Full Disk Access where it is missing,
    // otherwise toggles the method popover below `sender`, or shreds at once with the default
    // method when that is to be used without asking.
    void secureEmptyShowPop(QObject* sender, qint64 senderTag);

    // Gathers the Trash items and shreds them with the pass `senderTag` (or the default method).
    void secureEmptyTrashAction(qint64 senderTag);

private:
    ShredRuns& runs_;
    HudAlert& hud_;
    Popover& secureTrashPopOver_;
    SheetPresenter& sheets_;
    FullDiskAccess& fullDiskAccess_;
};

} // namespace tolvex
