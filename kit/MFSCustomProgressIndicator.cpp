#include "MFSCustomProgressIndicator.h"

#include <QPainter>

namespace tolvex {

namespace {

constexpr qreal kBarLineWidth = 4.0;
constexpr qreal kTickLineWidth = 0.5;
constexpr qreal kTickHalfHeight = 3.0;

const QBrush& storedOrDefault(std::optional<QBrush>& stored, const QColor& fallback)
{
    if (!stored)
        stored = QBrush(fallback);
    return *stored;
}

void strokeLine(QPainter& painter, const QBrush& brush, qreal width, QPointF from, QPointF to)
{
    painter.setPen(QPen(brush, width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(from, to);
}

// A bar is the band a flat-capped horizontal line of its width would cover. It is filled as
// that rectangle, not stroked: a gradient measured in the bounds of what it paints needs bounds
// with a height, and a line's own bounds have none.
void fillBar(QPainter& painter, const QBrush& brush, qreal middle, qreal length)
{
    painter.fillRect(QRectF(0.0, middle - kBarLineWidth / 2.0, length, kBarLineWidth), brush);
}

} // namespace

MFSCustomProgressIndicator::MFSCustomProgressIndicator(QWidget* parent) : QWidget(parent) {}

void MFSCustomProgressIndicator::setProgress(double progress)
{
    if (!(progress >= 0.0 && progress <= 1.0))
        return;
    progress_ = progress;
    update();
}

double MFSCustomProgressIndicator::indicatorProgress() const
{
    return width() * progress_;
}

QBrush MFSCustomProgressIndicator::indicatorBackgroundColor() const
{
    return storedOrDefault(indicatorBackgroundColor_, Qt::black);
}

QBrush MFSCustomProgressIndicator::indicatorForegoundColor() const
{
    return storedOrDefault(indicatorForegoundColor_, QColor::fromRgbF(0.5, 0.5, 0.5));
}

QBrush MFSCustomProgressIndicator::tickMarkColor() const
{
    return storedOrDefault(tickMarkColor_, Qt::black);
}

void MFSCustomProgressIndicator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    drawProgressBackgroundInRect(painter, bounds);
    drawProgressForegroundInRect(painter, bounds);
    if (showsTickMark_)
        drawProgressIndicatorTickInRect(painter);
}

void MFSCustomProgressIndicator::drawProgressBackgroundInRect(QPainter& painter,
                                                              const QRectF& rect) const
{
    fillBar(painter, indicatorBackgroundColor(), rect.height() * 0.5, rect.width());
}

void MFSCustomProgressIndicator::drawProgressForegroundInRect(QPainter& painter,
                                                              const QRectF& rect) const
{
    fillBar(painter, indicatorForegoundColor(), rect.height() * 0.5, indicatorProgress());
}

void MFSCustomProgressIndicator::drawProgressIndicatorTickInRect(QPainter& painter) const
{
    const qreal middle = height() * 0.5;
    strokeLine(painter, tickMarkColor(), kTickLineWidth,
               {indicatorProgress(), middle - kTickHalfHeight},
               {indicatorProgress(), middle + kTickHalfHeight});
}

} // namespace tolvex
