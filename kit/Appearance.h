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

} // namespace tolvex
