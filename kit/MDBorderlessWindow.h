#pragma once

#include <QWidget>

namespace tolvex {

// The overlay's window: a transparent, frameless surface laid over a whole parent window. It
// keeps clicks to itself: they never fall through to the window underneath.
class MDBorderlessWindow : public QWidget {
    Q_OBJECT

public:
    explicit MDBorderlessWindow(QWidget* parent = nullptr);
};

} // namespace tolvex
