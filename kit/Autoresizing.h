#pragma once

class QWidget;

namespace tolvex {

// Width-and-height autoresizing: from now on, whenever the parent of `view` changes size, `view`
// is resized so that it keeps the distances to the parent's right and bottom edges it has now.
void setAutoresizesWidthAndHeight(QWidget* view);

} // namespace tolvex
