#pragma once

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

} // namespace tolvex
