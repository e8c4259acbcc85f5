#include "kit/Transition.h"

#include "kit/AlphaValue.h"

#include <QPointer>
#include <QPropertyAnimation>
#include <QWidget>

namespace tolvex {

namespace {

// Where a pushed view starts when it comes in: just beyond the edge the push comes from.
QPoint entryOffset(Transition::Subtype subtype, QSize size)
{
    switch (subtype) {
    case Transition::Subtype::FromTop:
        return {0, -size.height()};
    case Transition::Subtype::FromBottom:
        return {0, size.height()};
    case Transition::Subtype::FromLeft:
        return {-size.width(), 0};
    case Transition::Subtype::FromRight:
        return {size.width(), 0};
    case Transition::Subtype::None:
        break;
    }
    return {};
}

QPropertyAnimation* positionAnimation(QWidget* view, QPoint from, QPoint to,
                                      const Transition& transition)
{
    auto* animation = new QPropertyAnimation(view, "pos", view);
    animation->setStartValue(from);
    animation->setEndValue(to);
    animation->setDuration(transition.durationMs);
    animation->setEasingCurve(transition.timingFunction);
    return animation;
}

} // namespace

void Transition::animateIn(QWidget* view, std::function<void()> completion) const
{
    if (type == Type::Fade) {
        AlphaValue::setAlphaValue(view, 0.0);
        AlphaValue::animateAlphaValue(view, 1.0, durationMs, std::move(completion));
        return;
    }
    const QPoint home = view->pos();
    QPropertyAnimation* animation =
        positionAnimation(view, home + entryOffset(subtype, view->size()), home, *this);
    QObject::connect(animation, &QAbstractAnimation::finished, view,
                     [completion = std::move(completion)] {
                         if (completion)
                             completion();
                     });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void Transition::animateOut(QWidget* view, std::function<void()> completion) const
{
    QPointer<QWidget> target(view);
    const QPoint home = view->pos();
    auto finish = [target, home, completion = std::move(completion)] {
        if (completion)
            completion();
        if (target) {
            target->move(home);
            AlphaValue::setAlphaValue(target, 1.0);
        }
    };
    if (type == Type::Fade) {
        AlphaValue::animateAlphaValue(view, 0.0, durationMs, std::move(finish));
        return;
    }
    // The view leaves towards the edge opposite the one the push comes from.
    QPropertyAnimation* animation =
        positionAnimation(view, home, home - entryOffset(subtype, view->size()), *this);
    QObject::connect(animation, &QAbstractAnimation::finished, view, std::move(finish));
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace tolvex
