#include "kit/WindowResizability.h"

#include <QWidget>

namespace tolvex {

namespace {
// The size limits a window had before it was fixed at its size.
const char* const kSavedMinimumProperty = "tolvexResizableMinimum";
const char* const kSavedMaximumProperty = "tolvexResizableMaximum";
} // namespace

bool isResizable(const QWidget* window)
{
    return window->minimumSize() != window->maximumSize();
}

void setResizable(QWidget* window, bool resizable)
{
    if (resizable == isResizable(window))
        return;
    if (!resizable) {
        window->setProperty(kSavedMinimumProperty, window->minimumSize());
        window->setProperty(kSavedMaximumProperty, window->maximumSize());
        window->setFixedSize(window->size());
        return;
    }
    const QVariant minimum = window->property(kSavedMinimumProperty);
    const QVariant maximum = window->property(kSavedMaximumProperty);
    window->setProperty(kSavedMinimumProperty, QVariant());
    window->setProperty(kSavedMaximumProperty, QVariant());
    window->setMinimumSize(minimum.isValid() ? minimum.toSize() : QSize(0, 0));
    window->setMaximumSize(maximum.isValid() ? maximum.toSize()
                                             : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

} // namespace tolvex
