#include "kit/undragTypesImgV.h"

#include "kit/KitLog.h"

#include <QApplication>
#include <QChildEvent>
#include <QMouseEvent>

namespace tolvex {

namespace {

bool isMouseEvent(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return true;
    default:
        return false;
    }
}

} // namespace

undragTypesImgV::undragTypesImgV(QWidget* parent) : ImageView(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QWidget* undragTypesImgV::firstSubview() const
{
    const auto subviews = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    return subviews.value(0);
}

void undragTypesImgV::childEvent(QChildEvent* event)
{
    ImageView::childEvent(event);
    if (event->added() && event->child()->isWidgetType())
        event->child()->installEventFilter(this);
    // A child being removed is still listed while this runs.
    const auto subviews = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    const bool none = subviews.isEmpty() ||
                      (event->removed() && subviews.size() == 1 && subviews[0] == event->child());
    setAttribute(Qt::WA_TransparentForMouseEvents, none);
}

bool undragTypesImgV::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress || watched != firstSubview())
        return false;
    const auto* subview = static_cast<QWidget*>(watched);
    if (subview->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
        qCInfo(lcKit).nospace() << "subV> " << watched;
    return false;
}

bool undragTypesImgV::event(QEvent* event)
{
    QWidget* subview = firstSubview();
    if (!subview || !isMouseEvent(event))
        return ImageView::event(event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    // An event the subview left alone comes back up here: from inside the subview, or while it
    // is being forwarded. Either way it goes no further down.
    if (forwarding_ ||
        (!subview->isHidden() && subview->geometry().contains(mouse->position().toPoint())))
        return ImageView::event(event);
    QMouseEvent forwarded(mouse->type(), subview->mapFrom(this, mouse->position()),
                          mouse->globalPosition(), mouse->button(), mouse->buttons(),
                          mouse->modifiers(), mouse->pointingDevice());
    forwarding_ = true;
    QApplication::sendEvent(subview, &forwarded);
    forwarding_ = false;
    return true;
}

} // namespace tolvex
