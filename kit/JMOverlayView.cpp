#include "kit/JMOverlayView.h"

#include "kit/JMModalOverlay.h"
#include "kit/KitLog.h"

#include <QKeyEvent>

namespace tolvex {

JMOverlayView::JMOverlayView(QWidget* parent) : VisualEffectView(parent) {}

bool JMOverlayView::event(QEvent* event)
{
    // Keys stop here, Tab included, which QWidget would otherwise use to move the focus.
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return VisualEffectView::event(event);
}

void JMOverlayView::paintEvent(QPaintEvent*)
{
    fillSurface(backgroundColor_);
}

void JMOverlayView::mousePressEvent(QMouseEvent* event)
{
    if (modalOverlay_ && modalOverlay_->shouldCloseWhenClickOnBackground()) {
        modalOverlay_->performClose(this);
        return;
    }
    VisualEffectView::mousePressEvent(event);
}

void JMOverlayView::keyPressEvent(QKeyEvent* event)
{
    qCInfo(lcKit, "KeyDown JMOverlay>%hu", static_cast<unsigned short>(event->nativeScanCode()));
    event->accept();
}

} // namespace tolvex
