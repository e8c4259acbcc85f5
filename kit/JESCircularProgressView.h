#pragma once

#include <QColor>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainterPath>
#include <QWidget>
#include <optional>

class QVariantAnimation;

namespace tolvex {

// A progress ring: a thin outer circle (solid or dashed 8/4) and, on the same circle, a thicker
// arc that grows clockwise from the top as the progress goes from 0 to 1, painted with a
// vertical orange (bottom) to red (top) gradient. The tint colour strokes the outer circle and
// lends its opacity to the arc, so a fully transparent tint hides both.
//
// The rings are built once, when the view is made, around a centre and radius that the whole
// process shares: they are taken from the frame of the first ring ever made (inset by its line
// widths) and every later ring uses them too, whatever its own size. Both circles are arcs of
// 355.29 degrees closed by a straight segment. Later changes of size, line widths or colours of
// the gradient do not rebuild them; only the progress, the tint, the progress line width and the
// dash of the outer circle change afterwards.
class JESCircularProgressView : public QWidget {
    Q_OBJECT

public:
    // `frame` is the ring's geometry in its parent; the shared ring geometry may come from it.
    explicit JESCircularProgressView(const QRect& frame, QWidget* parent = nullptr);

    double progress() const { return progress_; }
    // Clamps to [0, 1] (not-a-number counts as 1). An animated change lasts
    // max(|new - old|, animationDuration) seconds.
    void setProgress(double progress, bool animated);
    void setProgress(double progress) { setProgress(progress, false); }
    double progressInDegrees() const { return progress_ * 360.0; }
    // The fraction of the ring's path drawn at this moment; it follows the progress, animated.
    double strokeEnd() const { return progressLayer_.strokeEnd; }

    double progressLineWidth() const { return progressLineWidth_; }
    void setProgressLineWidth(double width);
    double outerLineWidth() const { return outerLineWidth_; }
    // Stored only: the outer circle keeps the width it was built with.
    void setOuterLineWidth(double width) { outerLineWidth_ = width; }
    // Seconds; the shortest an animated progress change lasts.
    double animationDuration() const { return animationDuration_; }
    void setAnimationDuration(double seconds) { animationDuration_ = seconds; }
    QColor tintColor() const { return tintColor_; }
    void setTintColor(const QColor& color);
    // The gradient's colours are fixed when the ring is built; these store new values only.
    QColor gradientColor1() const { return gradientColor1_; }
    void setGradientColor1(const QColor& color) { gradientColor1_ = color; }
    QColor gradientColor2() const { return gradientColor2_; }
    void setGradientColor2(const QColor& color) { gradientColor2_ = color; }
    bool outerLineisDashed() const { return outerLineisDashed_; }
    void setOuterLineisDashed(bool dashed);

    // Where in the view the rings are drawn: the built rings, made for the whole view, are fitted
    // into this rectangle. The whole view until set.
    QRectF bounds() const { return bounds_.value_or(QRectF(rect())); }
    void setBounds(const QRectF& bounds);

    // The two circles as built (before closing), empty before the first build.
    QPainterPath progressPath() const { return progressPath_.value_or(QPainterPath()); }
    QPainterPath outerPath() const { return outerPath_.value_or(QPainterPath()); }

    // Texts shown over the ring, on a label that lies over it: a title in the largest size up to
    // that of `font` that fits inside the ring, and a line elided in the middle where it would
    // run into the ring or past the label.
    void fitTitle(QLabel* label, QFont font, const QString& text) const;
    void fitLine(QLabel* label, const QString& text) const;

    // The geometry shared by every ring in the process.
    double radius() const;
    QPointF center() const;
    QRectF progressLineInset() const;

protected:
    // How wide a line of text may be inside the ring, clear of the progress line, across the
    // horizontal band `line` (in the view's coordinates).
    qreal insideWidthAcross(const QRectF& line) const;
    // The band a line of text in `metrics` takes, centred on `label`, in the view's coordinates.
    QRectF lineOf(const QLabel* label, const QFontMetricsF& metrics) const;

    void paintEvent(QPaintEvent* event) override;

private:
    // What a stroked shape needs to be drawn.
    struct ShapeLayer {
        QPainterPath path;
        QColor strokeColor;
        qreal lineWidth = 0.0;
        QList<qreal> lineDashPattern;
        qreal strokeEnd = 1.0;
    };
    struct GradientLayer {
        QColor bottomColor;
        QColor topColor;
        QRectF frame;
    };

    void setDefaultValues();
    void drawOuterCircle();
    void drawProgressCircle();
    void paintOuterLayer(QPainter& painter) const;
    void paintProgressLayer(QPainter& painter) const;

    double progress_ = 0.0;
    double progressLineWidth_ = 0.0;
    double outerLineWidth_ = 0.0;
    double animationDuration_ = 0.0;
    QColor tintColor_;
    QColor gradientColor1_;
    QColor gradientColor2_;
    bool outerLineisDashed_ = false;
    std::optional<QPainterPath> progressPath_;
    std::optional<QPainterPath> outerPath_;
    std::optional<QRectF> bounds_;

    ShapeLayer outerLayer_;
    ShapeLayer progressLayer_;
    std::optional<GradientLayer> gradientLayer_;
    QVariantAnimation* strokeEndAnimation_ = nullptr;
};

} // namespace tolvex
