#include "SlideTransition.h"

#include "MediaTimingFunction.h"

#include <QPainter>
#include <QVariantAnimation>
#include <cmath>
#include <utility>

namespace tolvex {

SlideTransition::SlideTransition(const Description& description, const QPixmap& from,
                                 const QPixmap& to, QWidget* parent)
    : QWidget(parent), description_(description), from_(from), to_(to),
      animation_(new QVariantAnimation(this))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(parent->rect());
    animation_->setStartValue(0.0);
    animation_->setEndValue(1.0);
    animation_->setDuration(static_cast<int>(std::lround(description.duration * 1000.0)));
    animation_->setEasingCurve(MediaTimingFunction::easeOut());
    connect(animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        progress_ = value.toReal();
        update();
    });
    connect(animation_, &QVariantAnimation::finished, this, &SlideTransition::finish);
}

void SlideTransition::start(std::function<void()> onFinished)
{
    onFinished_ = std::move(onFinished);
    show();
    raise();
    animation_->start();
}

void SlideTransition::finish()
{
    animation_->stop();
    hide();
    deleteLater();
    if (auto onFinished = std::exchange(onFinished_, nullptr))
        onFinished();
}

void SlideTransition::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const qreal w = width();
    const qreal h = height();
    const qreal t = progress_;
    switch (description_.type) {
    case Type::Fade:
        painter.setOpacity(1.0 - t);
        painter.drawPixmap(0, 0, from_);
        painter.setOpacity(t);
        painter.drawPixmap(0, 0, to_);
        break;
    case Type::MoveInFromTop:
        // The new content slides down over the old one, which stays put.
        painter.drawPixmap(0, 0, from_);
        painter.drawPixmap(QPointF(0.0, -h * (1.0 - t)), to_);
        break;
    case Type::PushFromLeft:
    case Type::PushFromRight: {
        // The new content comes in from one side and pushes the old one out of the other.
        const qreal side = description_.type == Type::PushFromLeft ? -1.0 : 1.0;
        painter.drawPixmap(QPointF(-side * w * t, 0.0), from_);
        painter.drawPixmap(QPointF(side * w * (1.0 - t), 0.0), to_);
        break;
    }
    }
}

} // namespace tolvex
