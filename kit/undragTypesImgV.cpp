#include "kit/undragTypesImgV.h"

#include <QApplication>
#include <QChildEvent>
#include <QMouseEvent>

namespace tolvex {

undragTypesImgV::undragTypesImgV(QWidget* parent) : ImageView(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_AcceptTouchEvents, false);
    updateMouseTransparency();
}

QWidget* undragTypesImgV::firstSubview() const
{
    const auto subviews = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    return subviews.value(0);
}

void undragTypesImgV::updateMouseTransparency()
{
    setAttribute(Qt::WA_TransparentForMouseEvents, firstSubview() == nullptr);
}

void undragTypesImgV::childEvent(QChildEvent* event)
{
    ImageView::childEvent(event);
    // A child being removed is still listed while this runs.
    if (event->removed()) {
        const auto subviews = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        setAttribute(Qt::WA_TransparentForMouseEvents,
                     subviews.isEmpty() || (subviews.size() == 1 && subviews[0] == event->child()));
        return;
    }
    updateMouseTransparency();
}

bool undragTypesImgV::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        break;
    default:
        return ImageView::event(event);
    }
    QWidget* subview = firstSubview();
    if (!subview)
        return ImageView::event(event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPointF local = subview->mapFrom(this, mouse->position());
    if (!subview->isHidden() && subview->rect().contains(local.toPoint()))
        qInfo().nospace() << "subV> " << subview;
    QMouseEvent forwarded(mouse->type(), local, mouse->globalPosition(), mouse->button(),
                          mouse->buttons(), mouse->modifiers(), mouse->pointingDevice());
    QApplication::sendEvent(subview, &forwarded);
    return true;
}

} // namespace tolvex
