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
    m_progressLineWidth = kDefaultProgressLineWidth;
    m_outerLineWidth = kDefaultOuterLineWidth;
    m_tintColor = kDefaultTintColor;
    m_gradientColor1 = kOrange;
    m_gradientColor2 = kRed;
    m_outerLineisDashed = false;
    m_animationDuration = kDefaultAnimationDuration;

    m_progressLayer.strokeColor = m_tintColor;
    m_progressLayer.lineWidth = m_progressLineWidth;
    m_outerLayer.strokeColor = m_tintColor;
    m_outerLayer.lineWidth = m_outerLineWidth;

    m_strokeEndAnimation = new QVariantAnimation(this);
    m_strokeEndAnimation->setEasingCurve(MediaTimingFunction::systemDefault());
    connect(m_strokeEndAnimation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) {
                m_progressLayer.strokeEnd = value.toDouble();
                update();
            });
    // A curve need not land exactly on its end; the stroke must.
    connect(m_strokeEndAnimation, &QVariantAnimation::finished, this, [this] {
        m_progressLayer.strokeEnd = m_strokeEndAnimation->endValue().toDouble();
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
    const qreal inside = (radius() - m_progressLineWidth / 2.0) * scale - kTextClearance;
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
        const qreal inset = std::round(m_progressLineWidth + m_outerLineWidth);
        const QRectF candidate =
            integralRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
        shared.inset = hasOnlyNormalValues(candidate) ? candidate : QRectF();
    }
    return shared.inset;
}

void JESCircularProgressView::drawOuterCircle()
{
    if (m_outerPath)
        return;
    m_outerPath = clockwiseArc(center(), radius(), kOuterArcStartDegrees, kArcEndOffsetDegrees);
    m_outerLayer.path =
        BezierPathQuartzUtilities::quartzPath(*m_outerPath).value_or(QPainterPath());
    m_outerLayer.strokeEnd = 1.0;
}

void JESCircularProgressView::drawProgressCircle()
{
    if (!m_progressPath)
        m_progressPath = QPainterPath();
    m_progressPath->addPath(clockwiseArc(center(), radius(), kProgressArcStartDegrees,
                                         kProgressArcStartDegrees + kArcEndOffsetDegrees));
    m_progressLayer.path =
        BezierPathQuartzUtilities::quartzPath(*m_progressPath).value_or(QPainterPath());
    m_gradientLayer = GradientLayer{m_gradientColor1, m_gradientColor2, QRectF(rect())};
}

void JESCircularProgressView::setProgress(double progress, bool animated)
{
    const double oldProgress = m_progress;
    m_progress = std::max(std::min(std::isnan(progress) ? 1.0 : progress, 1.0), 0.0);

    m_strokeEndAnimation->stop();
    if (animated) {
        const double seconds = std::max(std::abs(m_progress - oldProgress), m_animationDuration);
        m_strokeEndAnimation->setDuration(static_cast<int>(std::lround(seconds * 1000.0)));
        m_strokeEndAnimation->setStartValue(m_progressLayer.strokeEnd);
        m_strokeEndAnimation->setEndValue(m_progress);
        m_strokeEndAnimation->start();
    } else {
        m_progressLayer.strokeEnd = m_progress;
        update();
    }
}

void JESCircularProgressView::setProgressLineWidth(double width)
{
    m_progressLineWidth = width;
    m_progressLayer.lineWidth = width;
    update();
}

void JESCircularProgressView::setOuterLineisDashed(bool dashed)
{
    m_outerLineisDashed = dashed;
    m_outerLayer.lineDashPattern = dashed ? kOuterDashPattern : QList<qreal>();
    update();
}

void JESCircularProgressView::setTintColor(const QColor& color)
{
    m_tintColor = color;
    m_progressLayer.strokeColor = color;
    m_outerLayer.strokeColor = color;
    update();
}

void JESCircularProgressView::setBounds(const QRectF& bounds)
{
    m_bounds = bounds;
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
    QPen pen = layerPen(m_outerLayer.strokeColor, m_outerLayer.lineWidth);
    if (!m_outerLayer.lineDashPattern.isEmpty() && m_outerLayer.lineWidth > 0) {
        // A pen measures its dashes in line widths.
        QList<qreal> dashes;
        for (qreal length : m_outerLayer.lineDashPattern)
            dashes << length / m_outerLayer.lineWidth;
        pen.setDashPattern(dashes);
    }
    painter.strokePath(m_outerLayer.path, pen);
}

void JESCircularProgressView::paintProgressLayer(QPainter& painter) const
{
    // The progress stroke only masks the gradient: its colour counts through its opacity.
    if (!m_gradientLayer || m_progressLayer.strokeEnd <= 0.0)
        return;
    QLinearGradient gradient(m_gradientLayer->frame.bottomLeft(), m_gradientLayer->frame.topLeft());
    gradient.setColorAt(0.0, m_gradientLayer->bottomColor);
    gradient.setColorAt(1.0, m_gradientLayer->topColor);
    painter.save();
    painter.setOpacity(m_progressLayer.strokeColor.alphaF());
    painter.strokePath(leadingPart(m_progressLayer.path, m_progressLayer.strokeEnd),
                       layerPen(gradient, m_progressLayer.lineWidth));
    painter.restore();
}

} // namespace tolvex
