#include "SlideTransition.h"

#include "MediaTimingFunction.h"

#include <QPainter>
#include <QVariantAnimation>
#include <cmath>
#include <utility>

namespace tolvex {

SlideTransition::SlideTransition(const Description& description, const QPixmap& from,
                                 const QPixmap& to, QWidget* parent)
    : QWidget(parent), m_description(description), m_from(from), m_to(to),
      m_animation(new QVariantAnimation(this))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(parent->rect());
    m_animation->setStartValue(0.0);
    m_animation->setEndValue(1.0);
    m_animation->setDuration(static_cast<int>(std::lround(description.duration * 1000.0)));
    m_animation->setEasingCurve(MediaTimingFunction::easeOut());
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_progress = value.toReal();
        update();
    });
    connect(m_animation, &QVariantAnimation::finished, this, &SlideTransition::finish);
}

void SlideTransition::start(std::function<void()> onFinished)
{
    m_onFinished = std::move(onFinished);
    show();
    raise();
    m_animation->start();
}

void SlideTransition::finish()
{
    m_animation->stop();
    hide();
    deleteLater();
    if (auto onFinished = std::exchange(m_onFinished, nullptr))
        onFinished();
}

void SlideTransition::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const qreal w = width();
    const qreal h = height();
    const qreal t = m_progress;
    switch (m_description.type) {
    case Type::Fade:
        painter.setOpacity(1.0 - t);
        painter.drawPixmap(0, 0, m_from);
        painter.setOpacity(t);
        painter.drawPixmap(0, 0, m_to);
        break;
    case Type::MoveInFromTop:
        // The new content slides down over the old one, which stays put.
        painter.drawPixmap(0, 0, m_from);
        painter.drawPixmap(QPointF(0.0, -h * (1.0 - t)), m_to);
        break;
    case Type::PushFromLeft:
    case Type::PushFromRight: {
        // The new content comes in from one side and pushes the old one out of the other.
        const qreal side = m_description.type == Type::PushFromLeft ? -1.0 : 1.0;
        painter.drawPixmap(QPointF(-side * w * t, 0.0), m_from);
        painter.drawPixmap(QPointF(side * w * (1.0 - t), 0.0), m_to);
        break;
    }
    }
}

} // namespace tolvex
