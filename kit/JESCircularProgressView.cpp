#include "JESCircularProgressView.h"

#include "BezierPathQuartzUtilities.h"
#include "MediaTimingFunction.h"

#include <QLabel>
#include <QLineF>
#include <QLinearGradient>
#include <QPainter>
#include <QVariantAnimation>
#include <cmath>

namespace tolvex {

namespace {

constexpr double kDefaultProgressLineWidth = 4.0;
// Texts over the ring keep this far from its progress line, and titles shrink no further.
constexpr qreal kTextClearance = 3.0;
constexpr int kSmallestTitlePixelSize = 9;
constexpr double kDefaultOuterLineWidth = 1.0;
constexpr double kDefaultAnimationDuration = 0.25;
const QColor kDefaultTintColor = QColor::fromRgbF(0.139, 0.449, 0.867);
const QColor kOrange = QColor::fromRgbF(0.991, 0.527, 0.033);
const QColor kRed = QColor::fromRgbF(0.986, 0.097, 0.028);
const QList<qreal> kOuterDashPattern{8.0, 4.0};

// Both circles stop 4.71238898038469 degrees (3π/2 read as degrees) short of a full turn; the
// segment that closes each path bridges the gap.
constexpr qreal kArcEndOffsetDegrees = 4.71238898038469;
constexpr qreal kOuterArcStartDegrees = 0.0;     // three o'clock
constexpr qreal kProgressArcStartDegrees = 90.0; // the top

// One ring geometry for the whole process, made from whichever ring asks first.
struct SharedRingGeometry {
    QRectF inset;
    qreal radius = 0.0;
    QPointF center;
};

SharedRingGeometry& sharedRingGeometry()
{
    static SharedRingGeometry geometry;
    return geometry;
}

QRectF integralRect(const QRectF& rect)
{
    const qreal left = std::floor(rect.left());
    const qreal top = std::floor(rect.top());
    return {left, top, std::ceil(rect.right()) - left, std::ceil(rect.bottom()) - top};
}

bool hasOnlyNormalValues(const QRectF& rect)
{
    return std::isnormal(rect.x()) && std::isnormal(rect.y()) && std::isnormal(rect.width()) &&
           std::isnormal(rect.height()) && rect.width() > 0 && rect.height() > 0;
}

// A clockwise arc; angles are counted counter-clockwise from three o'clock, as on a y-up plane.
QPainterPath clockwiseArc(QPointF center, qreal radius, qreal startDegrees, qreal endDegrees)
{
    const QRectF box(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    qreal sweep = std::fmod(startDegrees - endDegrees, 360.0);
    if (sweep <= 0)
        sweep += 360.0;
    QPainterPath arc;
    arc.arcMoveTo(box, startDegrees);
    arc.arcTo(box, startDegrees, -sweep);
    return arc;
}

// The first `fraction` of the path's length, as a stroke that ends part of the way along it.
QPainterPath leadingPart(const QPainterPath& path, qreal fraction)
{
    if (fraction >= 1.0)
        return path;
    const QList<QPolygonF> polygons = path.toSubpathPolygons();
    qreal total = 0.0;
    for (const QPolygonF& polygon : polygons) {
        for (qsizetype i = 1; i < polygon.size(); ++i)
            total += QLineF(polygon[i - 1], polygon[i]).length();
    }
    qreal remaining = fraction * total;
    QPainterPath part;
    for (const QPolygonF& polygon : polygons) {
        if (polygon.isEmpty())
            continue;
        part.moveTo(polygon.first());
        for (qsizetype i = 1; i < polygon.size(); ++i) {
            const QLineF segment(polygon[i - 1], polygon[i]);
            if (segment.length() >= remaining) {
                part.lineTo(segment.pointAt(remaining / segment.length()));
                return part;
            }
            part.lineTo(polygon[i]);
            remaining -= segment.length();
        }
    }
    return part;
}

QPen layerPen(const QBrush& brush, qreal width)
{
    // Layer strokes end square at their ends and meet in mitred corners.
    return QPen(brush, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

} // namespace

JESCircularProgressView::JESCircularProgressView(const QRect& frame, QWidget* parent)
    : QWidget(parent)
{
    setGeometry(frame);
    setDefaultValues();
}

void JESCircularProgressView::setDefaultValues()
{
    progressLineWidth_ = kDefaultProgressLineWidth;
    outerLineWidth_ = kDefaultOuterLineWidth;
    tintColor_ = kDefaultTintColor;
    gradientColor1_ = kOrange;
    gradientColor2_ = kRed;
    outerLineisDashed_ = false;
    animationDuration_ = kDefaultAnimationDuration;

    progressLayer_.strokeColor = tintColor_;
    progressLayer_.lineWidth = progressLineWidth_;
    outerLayer_.strokeColor = tintColor_;
    outerLayer_.lineWidth = outerLineWidth_;

    strokeEndAnimation_ = new QVariantAnimation(this);
    strokeEndAnimation_->setEasingCurve(MediaTimingFunction::systemDefault());
    connect(strokeEndAnimation_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) {
                progressLayer_.strokeEnd = value.toDouble();
                update();
            });
    // A curve need not land exactly on its end; the stroke must.
    connect(strokeEndAnimation_, &QVariantAnimation::finished, this, [this] {
        progressLayer_.strokeEnd = strokeEndAnimation_->endValue().toDouble();
        update();
    });
    setProgress(0.0);

    drawOuterCircle();
    drawProgressCircle();
}

void JESCircularProgressView::fitTitle(QLabel* label, QFont font, const QString& text) const
{
    while (
        font.pixelSize() > kSmallestTitlePixelSize &&
        QFontMetricsF(font).horizontalAdvance(text) >
            std::min<qreal>(label->width(), insideWidthAcross(lineOf(label, QFontMetricsF(font)))))
        font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
    label->setText(text);
}

void JESCircularProgressView::fitLine(QLabel* label, const QString& text) const
{
    const QFontMetricsF metrics(label->font());
    const qreal width = std::min<qreal>(label->width(), insideWidthAcross(lineOf(label, metrics)));
    label->setText(metrics.elidedText(text, Qt::ElideMiddle, width));
}

QRectF JESCircularProgressView::lineOf(const QLabel* label, const QFontMetricsF& metrics) const
{
    const QPointF origin = label->mapTo(window(), QPointF()) - mapTo(window(), QPointF());
    const qreal middle = origin.y() + label->height() / 2.0;
    return QRectF(origin.x(), middle - metrics.height() / 2.0, label->width(), metrics.height());
}

qreal JESCircularProgressView::insideWidthAcross(const QRectF& line) const
{
    // The rings are built for the whole view and drawn fitted into the bounds.
    const QRectF drawn = bounds();
    const qreal scale = width() > 0 ? drawn.width() / width() : 1.0;
    const QPointF centre = drawn.topLeft() + center() * scale;
    const qreal inside = (radius() - progressLineWidth_ / 2.0) * scale - kTextClearance;
    const qreal farthest =
        std::max(std::abs(line.top() - centre.y()), std::abs(line.bottom() - centre.y()));
    return farthest < inside ? 2.0 * std::sqrt(inside * inside - farthest * farthest) : 0.0;
}

double JESCircularProgressView::radius() const
{
    SharedRingGeometry& shared = sharedRingGeometry();
    if (shared.radius == 0.0) {
        const QRectF inset = progressLineInset();
        shared.radius = std::min(inset.width(), inset.height()) * 0.5;
    }
    return std::floor(shared.radius);
}

QPointF JESCircularProgressView::center() const
{
    SharedRingGeometry& shared = sharedRingGeometry();
    if (shared.center.isNull()) {
        const QPointF middle = progressLineInset().center();
        shared.center = QPointF(std::round(middle.x()), std::round(middle.y()));
    }
    return shared.center;
}

QRectF JESCircularProgressView::progressLineInset() const
{
    SharedRingGeometry& shared = sharedRingGeometry();
    if (shared.inset.isEmpty()) {
        const qreal inset = std::round(progressLineWidth_ + outerLineWidth_);
        const QRectF candidate =
            integralRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
        shared.inset = hasOnlyNormalValues(candidate) ? candidate : QRectF();
    }
    return shared.inset;
}

void JESCircularProgressView::drawOuterCircle()
{
    if (outerPath_)
        return;
    outerPath_ = clockwiseArc(center(), radius(), kOuterArcStartDegrees, kArcEndOffsetDegrees);
    outerLayer_.path = BezierPathQuartzUtilities::quartzPath(*outerPath_).value_or(QPainterPath());
    outerLayer_.strokeEnd = 1.0;
}

void JESCircularProgressView::drawProgressCircle()
{
    if (!progressPath_)
        progressPath_ = QPainterPath();
    progressPath_->addPath(clockwiseArc(center(), radius(), kProgressArcStartDegrees,
                                        kProgressArcStartDegrees + kArcEndOffsetDegrees));
    progressLayer_.path =
        BezierPathQuartzUtilities::quartzPath(*progressPath_).value_or(QPainterPath());
    gradientLayer_ = GradientLayer{gradientColor1_, gradientColor2_, QRectF(rect())};
}

void JESCircularProgressView::setProgress(double progress, bool animated)
{
    const double oldProgress = progress_;
    progress_ = std::max(std::min(std::isnan(progress) ? 1.0 : progress, 1.0), 0.0);

    strokeEndAnimation_->stop();
    if (animated) {
        const double seconds = std::max(std::abs(progress_ - oldProgress), animationDuration_);
        strokeEndAnimation_->setDuration(static_cast<int>(std::lround(seconds * 1000.0)));
        strokeEndAnimation_->setStartValue(progressLayer_.strokeEnd);
        strokeEndAnimation_->setEndValue(progress_);
        strokeEndAnimation_->start();
    } else {
        progressLayer_.strokeEnd = progress_;
        update();
    }
}

void JESCircularProgressView::setProgressLineWidth(double width)
{
    progressLineWidth_ = width;
    progressLayer_.lineWidth = width;
    update();
}

void JESCircularProgressView::setOuterLineisDashed(bool dashed)
{
    outerLineisDashed_ = dashed;
    outerLayer_.lineDashPattern = dashed ? kOuterDashPattern : QList<qreal>();
    update();
}

void JESCircularProgressView::setTintColor(const QColor& color)
{
    tintColor_ = color;
    progressLayer_.strokeColor = color;
    outerLayer_.strokeColor = color;
    update();
}

void JESCircularProgressView::setBounds(const QRectF& bounds)
{
    bounds_ = bounds;
    update();
}

void JESCircularProgressView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF fitted = bounds();
    if (width() > 0 && height() > 0 && fitted != QRectF(rect())) {
        painter.translate(fitted.topLeft());
        painter.scale(fitted.width() / width(), fitted.height() / height());
    }
    paintOuterLayer(painter);
    paintProgressLayer(painter);
}

void JESCircularProgressView::paintOuterLayer(QPainter& painter) const
{
    QPen pen = layerPen(outerLayer_.strokeColor, outerLayer_.lineWidth);
    if (!outerLayer_.lineDashPattern.isEmpty() && outerLayer_.lineWidth > 0) {
        // A pen measures its dashes in line widths.
        QList<qreal> dashes;
        for (qreal length : outerLayer_.lineDashPattern)
            dashes << length / outerLayer_.lineWidth;
        pen.setDashPattern(dashes);
    }
    painter.strokePath(outerLayer_.path, pen);
}

void JESCircularProgressView::paintProgressLayer(QPainter& painter) const
{
    // The progress stroke only masks the gradient: its colour counts through its opacity.
    if (!gradientLayer_ || progressLayer_.strokeEnd <= 0.0)
        return;
    QLinearGradient gradient(gradientLayer_->frame.bottomLeft(), gradientLayer_->frame.topLeft());
    gradient.setColorAt(0.0, gradientLayer_->bottomColor);
    gradient.setColorAt(1.0, gradientLayer_->topColor);
    painter.save();
    painter.setOpacity(progressLayer_.strokeColor.alphaF());
    painter.strokePath(leadingPart(progressLayer_.path, progressLayer_.strokeEnd),
                       layerPen(gradient, progressLayer_.lineWidth));
    painter.restore();
}

} // namespace tolvex
