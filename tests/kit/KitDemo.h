#pragma once

#include "kit/JMModalOverlay.h"
#include "kit/WAYWindow.h"

#include <QImage>
#include <memory>

// The kit's main pieces together: the dressed main window with three clickable zone titles,
// a screen shown in the modal overlay, and a HUD alert over both.
class KitDemo {
public:
    KitDemo();

    tolvex::WAYWindow& window() { return window_; }
    tolvex::JMModalOverlay& overlay() { return overlay_; }

    // Shows the screen over the window, then the alert.
    void present();
    // The window as it looks on a neutral grey desktop.
    QImage screenshot();

private:
    tolvex::WAYWindow window_;
    tolvex::JMModalOverlay overlay_;
    tolvex::ViewController screen_;
};
