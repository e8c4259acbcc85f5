#pragma once

#include <QBrush>
#include <QWidget>
#include <optional>

namespace tolvex {

// A flat progress bar: a 4-pixel line across the middle of the view, a second one over it from
// the left edge to the progress point, and optionally a thin vertical tick at that point.
// Progress outside [0, 1] (or not a number) is ignored. The brushes may be plain colours or
// gradients; a brush set after the last redraw shows at the next one.
class MFSCustomProgressIndicator : public QWidget {
    Q_OBJECT

public:
    explicit MFSCustomProgressIndicator(QWidget* parent = nullptr);

    double progress() const { return progress_; }
    void setProgress(double progress);
    // The x of the progress point.
    double indicatorProgress() const;

    // Black, grey (50% white) and black until set; a default once read stays until replaced.
    QBrush indicatorBackgroundColor() const;
    void setIndicatorBackgroundColor(const QBrush& brush) { indicatorBackgroundColor_ = brush; }
    QBrush indicatorForegoundColor() const;
    void setIndicatorForegoundColor(const QBrush& brush) { indicatorForegoundColor_ = brush; }
    QBrush tickMarkColor() const;
    void setTickMarkColor(const QBrush& brush) { tickMarkColor_ = brush; }

    bool showsTickMark() const { return showsTickMark_; }
    void setShowsTickMark(bool shows) { showsTickMark_ = shows; }
    // Kept for the owner; never drawn.
    QBrush progressColor() const { return progressColor_; }
    void setProgressColor(const QBrush& brush) { progressColor_ = brush; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawProgressBackgroundInRect(QPainter& painter, const QRectF& rect) const;
    void drawProgressForegroundInRect(QPainter& painter, const QRectF& rect) const;
    void drawProgressIndicatorTickInRect(QPainter& painter) const;

    double progress_ = 0.0;
    mutable std::optional<QBrush> indicatorBackgroundColor_;
    mutable std::optional<QBrush> indicatorForegoundColor_;
    mutable std::optional<QBrush> tickMarkColor_;
    bool showsTickMark_ = false;
    QBrush progressColor_;
};

} // namespace tolvex
