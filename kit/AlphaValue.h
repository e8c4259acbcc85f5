#pragma once

#include <QtGlobal>
#include <functional>

class QWidget;

namespace tolvex {

// A window's alpha value for widgets that stand in for windows inside another window: the widget
// and everything in it are painted with that opacity.
namespace AlphaValue {

// The duration of an implicit animation when the caller names none.
inline constexpr int kDefaultAnimationDurationMs = 250;

qreal alphaValue(const QWidget* widget);
void setAlphaValue(QWidget* widget, qreal alpha);

// Animates to `alpha`, replacing an animation of the same widget still under way; `completion`
// runs when the animation ends, not when it is replaced.
void animateAlphaValue(QWidget* widget, qreal alpha, int durationMs = kDefaultAnimationDurationMs,
                       std::function<void()> completion = {});

} // namespace AlphaValue
} // namespace tolvex
