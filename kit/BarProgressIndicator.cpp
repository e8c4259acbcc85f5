#include "kit/BarProgressIndicator.h"

#include <algorithm>
#include <cmath>

namespace tolvex {

namespace {

// Tenths of a percent, so that small steps still move the bar.
constexpr int kSteps = 1000;

} // namespace

BarProgressIndicator::BarProgressIndicator(QWidget* parent) : QProgressBar(parent)
{
    setTextVisible(false);
    showState();
}

void BarProgressIndicator::setIndeterminate(bool indeterminate)
{
    indeterminate_ = indeterminate;
    showState();
}

void BarProgressIndicator::startAnimation()
{
    animating_ = true;
    showState();
}

void BarProgressIndicator::stopAnimation()
{
    animating_ = false;
    showState();
}

void BarProgressIndicator::setDoubleValue(double value)
{
    doubleValue_ = value;
    showState();
}

void BarProgressIndicator::showState()
{
    // A range of 0 to 0 is the style's busy bar.
    if (indeterminate_ && animating_) {
        setRange(0, 0);
        return;
    }
    setRange(0, kSteps);
    const double percent = indeterminate_ ? 0.0 : std::clamp(doubleValue_, 0.0, 100.0);
    setValue(int(std::lround(percent * kSteps / 100.0)));
}

} // namespace tolvex
