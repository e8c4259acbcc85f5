#include "kit/MDBorderlessWindow.h"

namespace tolvex {

MDBorderlessWindow::MDBorderlessWindow(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_NoMousePropagation);
    setMouseTracking(true);
}

} // namespace tolvex
