#include "myRespView.h"

#include "app/EventDelegatingViewDelegate.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace tolvex {

namespace {

bool offersTextOrFileNames(const QMimeData* data)
{
    return data && (data->hasText() || data->hasUrls());
}

} // namespace

myRespView::myRespView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
}

void myRespView::keyPressEvent(QKeyEvent* event)
{
    if (eventDelegate_)
        eventDelegate_->viewDidHandleEvent(this, event);
    event->accept();
}

void myRespView::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
}

void myRespView::dragEnterEvent(QDragEnterEvent* event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void myRespView::dragMoveEvent(QDragMoveEvent* event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void myRespView::dropEvent(QDropEvent* event)
{
    if (!offersTextOrFileNames(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

} // namespace tolvex
