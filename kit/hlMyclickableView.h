#pragma once

#include <QWidget>

namespace tolvex {

// The application's own title-bar view. It takes the first click on an inactive window as any
// Qt widget does; presses it leaves alone go on to the title bar, which moves the window.
class hlMyclickableView : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;
};

} // namespace tolvex
