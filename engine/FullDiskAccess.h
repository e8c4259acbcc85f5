#pragma once

#include "engine/SheetPresenter.h"

namespace tolvex {

// The system's Full Disk Access status and request, and the version test that decides whether
// it matters. Main thread only.
class FullDiskAccess {
public:
    virtual ~FullDiskAccess() = default;
    virtual bool XRRunningOnOSXCatalinaOrLater() = 0;
    virtual bool shouldShowAlertAboutFullDiskAccess() = 0;
    virtual void askUserPermissionForFullDiskAccess() = 0;
};

// The sheet that asks for Full Disk Access, with what the feature at hand loses without it. The
// first button opens the request and the last cancels; `otherButtons` come between them.
SheetAlert fullDiskAccessAlert(const QString& informativeText,
                               const QStringList& otherButtons = {});

} // namespace tolvex
