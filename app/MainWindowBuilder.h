#pragma once

namespace tolvex {

class AppDelegate;
class WAYWindow;

// The main window's interface file, in code: it makes the window and its views, fills in
// AppDelegate's outlets and connects the controls to AppDelegate's actions. The window owns
// everything made here; the caller owns the window.
class MainWindowBuilder {
public:
    static WAYWindow* build(AppDelegate& delegate);
};

} // namespace tolvex
