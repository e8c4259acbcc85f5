#include "kit/BackdropBlur.h"

#include <QGraphicsBlurEffect>
#include <QWidget>

namespace tolvex {

BackdropBlur::BackdropBlur(QWidget* window, QWidget* surface, const QRect& area)
{
    const auto children = window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* view : children) {
        // Children come in stacking order, bottom first: the rest lie over the surface.
        if (view == surface)
            break;
        if (view->isWindow() || view->isHidden() || view->graphicsEffect() ||
            !view->geometry().intersects(area))
            continue;
        auto* blur = new QGraphicsBlurEffect(view);
        blur->setBlurRadius(kRadius);
        blur->setBlurHints(QGraphicsBlurEffect::QualityHint);
        view->setGraphicsEffect(blur);
        blurred_ << view;
    }
}

BackdropBlur::~BackdropBlur()
{
    for (const QPointer<QWidget>& view : std::as_const(blurred_))
        if (view && qobject_cast<QGraphicsBlurEffect*>(view->graphicsEffect()))
            view->setGraphicsEffect(nullptr);
}

} // namespace tolvex
