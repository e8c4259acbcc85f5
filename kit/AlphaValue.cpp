#include "kit/AlphaValue.h"

#include <QGraphicsOpacityEffect>
#include <QVariantAnimation>
#include <QWidget>

namespace tolvex::AlphaValue {

namespace {

constexpr QLatin1StringView kAnimationName("tolvexAlphaAnimation");

void stopAnimation(QWidget* widget)
{
    if (auto* running =
            widget->findChild<QVariantAnimation*>(kAnimationName, Qt::FindDirectChildrenOnly)) {
        running->disconnect();
        running->stop();
        running->deleteLater();
        running->setObjectName(QString());
    }
}

void applyAlpha(QWidget* widget, qreal alpha)
{
    // An opaque widget is painted directly: an effect, even a disabled one, costs an offscreen
    // pass and ignores the widget's mask.
    if (alpha >= 1.0) {
        widget->setGraphicsEffect(nullptr);
        return;
    }
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(widget->graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(widget);
        widget->setGraphicsEffect(effect);
    }
    effect->setOpacity(alpha);
}

} // namespace

qreal alphaValue(const QWidget* widget)
{
    const auto* effect = qobject_cast<const QGraphicsOpacityEffect*>(widget->graphicsEffect());
    return effect ? effect->opacity() : 1.0;
}

void setAlphaValue(QWidget* widget, qreal alpha)
{
    stopAnimation(widget);
    applyAlpha(widget, alpha);
}

void animateAlphaValue(QWidget* widget, qreal alpha, int durationMs,
                       std::function<void()> completion)
{
    stopAnimation(widget);
    auto* animation = new QVariantAnimation(widget);
    animation->setObjectName(kAnimationName);
    animation->setStartValue(alphaValue(widget));
    animation->setEndValue(alpha);
    animation->setDuration(durationMs);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    QObject::connect(animation, &QVariantAnimation::valueChanged, widget,
                     [widget](const QVariant& value) { applyAlpha(widget, value.toReal()); });
    QObject::connect(animation, &QVariantAnimation::finished, widget,
                     [animation, completion = std::move(completion)] {
                         animation->setObjectName(QString());
                         animation->deleteLater();
                         if (completion)
                             completion();
                     });
    animation->start();
}

} // namespace tolvex::AlphaValue
