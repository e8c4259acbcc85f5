#pragma once

#include <QProgressBar>

namespace tolvex {

// A linear progress bar that is either determinate (a value from 0 to 100) or indeterminate
// (a busy bar while it animates, an empty one while stopped).
class BarProgressIndicator : public QProgressBar {
    Q_OBJECT

public:
    explicit BarProgressIndicator(QWidget* parent = nullptr);

    bool isIndeterminate() const { return indeterminate_; }
    void setIndeterminate(bool indeterminate);
    bool isAnimating() const { return animating_; }
    void startAnimation();
    void stopAnimation();
    double doubleValue() const { return doubleValue_; }
    void setDoubleValue(double value);

private:
    void showState();

    bool indeterminate_ = true;
    bool animating_ = false;
    double doubleValue_ = 0.0;
};

} // namespace tolvex
