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

    double progress() const { return m_progress; }
    // Clamps to [0, 1] (not-a-number counts as 1). An animated change lasts
    // max(|new - old|, animationDuration) seconds.
    void setProgress(double progress, bool animated);
    void setProgress(double progress) { setProgress(progress, false); }
    double progressInDegrees() const { return m_progress * 360.0; }
    // The fraction of the ring's path drawn at this moment; it follows the progress, animated.
    double strokeEnd() const { return m_progressLayer.strokeEnd; }

    double progressLineWidth() const { return m_progressLineWidth; }
    void setProgressLineWidth(double width);
    double outerLineWidth() const { return m_outerLineWidth; }
    // Stored only: the outer circle keeps the width it was built with.
    void setOuterLineWidth(double width) { m_outerLineWidth = width; }
    // Seconds; the shortest an animated progress change lasts.
    double animationDuration() const { return m_animationDuration; }
    void setAnimationDuration(double seconds) { m_animationDuration = seconds; }
    QColor tintColor() const { return m_tintColor; }
    void setTintColor(const QColor& color);
    // The gradient's colours are fixed when the ring is built; these store new values only.
    QColor gradientColor1() const { return m_gradientColor1; }
    void setGradientColor1(const QColor& color) { m_gradientColor1 = color; }
    QColor gradientColor2() const { return m_gradientColor2; }
    void setGradientColor2(const QColor& color) { m_gradientColor2 = color; }
    bool outerLineisDashed() const { return m_outerLineisDashed; }
    void setOuterLineisDashed(bool dashed);

    // Where in the view the rings are drawn: the built rings, made for the whole view, are fitted
    // into this rectangle. The whole view until set.
    QRectF bounds() const { return m_bounds.value_or(QRectF(rect())); }
    void setBounds(const QRectF& bounds);

    // The two circles as built (before closing), empty before the first build.
    QPainterPath progressPath() const { return m_progressPath.value_or(QPainterPath()); }
    QPainterPath outerPath() const { return m_outerPath.value_or(QPainterPath()); }

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

    double m_progress = 0.0;
    double m_progressLineWidth = 0.0;
    double m_outerLineWidth = 0.0;
    double m_animationDuration = 0.0;
    QColor m_tintColor;
    QColor m_gradientColor1;
    QColor m_gradientColor2;
    bool m_outerLineisDashed = false;
    std::optional<QPainterPath> m_progressPath;
    std::optional<QPainterPath> m_outerPath;
    std::optional<QRectF> m_bounds;

    ShapeLayer m_outerLayer;
    ShapeLayer m_progressLayer;
    std::optional<GradientLayer> m_gradientLayer;
    QVariantAnimation* m_strokeEndAnimation = nullptr;
};

} // namespace tolvex
