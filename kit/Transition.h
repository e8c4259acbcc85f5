#pragma once

#include <QEasingCurve>
#include <functional>

class QWidget;

namespace tolvex {

// A transition of a view entering or leaving its superview: a push slides it in from one edge
// (or out towards the opposite one), a fade blends it in or out.
struct Transition {
    enum class Type { Fade, Push };
    enum class Subtype { None, FromTop, FromBottom, FromLeft, FromRight };

    Type type = Type::Fade;
    Subtype subtype = Subtype::None;
    int durationMs = 0;
    QEasingCurve timingFunction;

    // Animates `view`, already placed where it ends up, into sight.
    void animateIn(QWidget* view, std::function<void()> completion) const;
    // Animates `view` out of sight; `completion` runs at the end (the caller removes the view
    // there), after which the view gets its place and opacity back for a later showing.
    void animateOut(QWidget* view, std::function<void()> completion) const;
};

} // namespace tolvex
