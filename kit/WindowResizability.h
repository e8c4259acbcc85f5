#pragma once

class QWidget;

namespace tolvex {

// Whether the user can resize a window: a window is resizable unless its minimum and maximum
// sizes are the same. Taking resizability away fixes the current size; giving it back restores
// the size limits the window had before.
bool isResizable(const QWidget* window);
void setResizable(QWidget* window, bool resizable);

} // namespace tolvex
