#include "kit/ProgressIndicator.h"

#include <QPainter>

namespace tolvex {

namespace {
constexpr int kSpokes = 12;
constexpr int kStepMs = 83; // one turn a second
} // namespace

ProgressIndicator::ProgressIndicator(QWidget* parent) : QWidget(parent)
{
    resize(sizeHint());
    setAttribute(Qt::WA_TransparentForMouseEvents);
    timer_.setInterval(kStepMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        step_ = (step_ + 1) % kSpokes;
        update();
    });
}

void ProgressIndicator::startAnimation()
{
    timer_.start();
    update();
}

void ProgressIndicator::stopAnimation()
{
    timer_.stop();
    update();
}

void ProgressIndicator::paintEvent(QPaintEvent*)
{
    if (!isAnimating())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height());
    painter.translate(width() / 2.0, height() / 2.0);
    const qreal inner = side * 0.22;
    const qreal outer = side * 0.45;
    QColor color = palette().color(QPalette::WindowText);
    for (int i = 0; i < kSpokes; ++i) {
        const int age = (step_ - i + kSpokes) % kSpokes;
        color.setAlphaF(1.0 - 0.75 * age / (kSpokes - 1));
        painter.setPen(QPen(color, side * 0.08, Qt::SolidLine, Qt::RoundCap));
        painter.save();
        painter.rotate(360.0 * i / kSpokes);
        painter.drawLine(QPointF(0, -inner), QPointF(0, -outer));
        painter.restore();
    }
}

} // namespace tolvex
