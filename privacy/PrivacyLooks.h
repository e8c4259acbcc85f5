#pragma once

#include <QString>

namespace tolvex {

// The main window's privacy progress view, as a clean-up paints it. Main thread only.
class PrivacyLooks {
public:
    virtual ~PrivacyLooks() = default;

    // Every control of the window enabled, the bar indeterminate and stopped, the view hidden and
    // the start button back in its place.
    virtual void applyIdleLook() = 0;
    // Every control disabled, the view shown in the start button's place, "Scanning...", the bar
    // determinate at 0 and animating. The name label keeps its text.
    virtual void applyCleaningLook() = 0;
    // One step of a removal: the name label, the status label and the bar's value (0 to 100).
    virtual void showCleaningProgress(const QString& name, const QString& status, double value) = 0;
};

} // namespace tolvex
