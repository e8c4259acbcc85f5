#pragma once

#include <QPalette>

class QWidget;

namespace tolvex {

// The looks a window or the overlay can take. The vibrant ones are drawn as translucent surfaces
// with the matching palette.
enum class Appearance { Aqua, VibrantDark, VibrantLight };

bool isVibrant(Appearance appearance);
QPalette paletteForAppearance(Appearance appearance);
void applyAppearance(QWidget* widget, Appearance appearance);

// Dresses every window of the application, those made later included: the palette of
// `appearance`, the Roboto face for every text, and, in the dark look, stock controls (buttons,
// check boxes, scroll bars, progress bars, tooltips) drawn to match the window.
void applyApplicationAppearance(Appearance appearance);

} // namespace tolvex
