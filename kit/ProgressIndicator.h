#pragma once

#include <QTimer>
#include <QWidget>

namespace tolvex {

// The spinning busy indicator: twelve spokes whose brightest one turns while it animates. It
// draws nothing while stopped.
class ProgressIndicator : public QWidget {
    Q_OBJECT

public:
    explicit ProgressIndicator(QWidget* parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return timer_.isActive(); }

    QSize sizeHint() const override { return {32, 32}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer timer_;
    int step_ = 0;
};

} // namespace tolvex
