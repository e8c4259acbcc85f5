#pragma once

#include "platform/UpdateCheck.h"

#include <QObject>
#include <QUrl>

namespace tolvex {

class SheetPresenter;
struct SheetAlert;

// Checks the update feed for a newer Tolvex and tells the user the outcome in a sheet on the
// main window; for a newer version the sheet offers its download.
class Updater : public QObject {
    Q_OBJECT

public:
    Updater(SheetPresenter& sheets, QUrl feed, QObject* parent = nullptr);

    // Starts a check; a check already under way makes this one do nothing.
    void checkForUpdates();
    bool isChecking() const { return checking_; }

    // The sheet that tells `result`.
    static SheetAlert alertFor(const UpdateCheckResult& result);

private:
    void tell(const UpdateCheckResult& result);

    SheetPresenter& sheets_;
    UpdateCheck* check_;
    bool checking_ = false;
};

} // namespace tolvex
