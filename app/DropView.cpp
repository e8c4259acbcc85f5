#include "DropView.h"

#include "app/DropViewDelegate.h"
#include "engine/MediaMountRoots.h"
#include "engine/UtilsFileSystem.h"
#include "kit/MyHudAlert.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMimeData>

namespace tolvex {

namespace {

const QString kNotAllowedMessage = QStringLiteral("Shredding of this file/folder is not allowed\n");

QString parentFolder(const QString& path)
{
    return QFileInfo(path).path();
}

} // namespace

DropView::DropView(QWidget* parent) : QWidget(parent)
{
    setAcceptDrops(true);
    setFocusPolicy(Qt::ClickFocus);
}

std::optional<QStringList> DropView::fileNames(const QMimeData* pasteboard)
{
    if (!pasteboard)
        return std::nullopt;
    return Utils::fileNamesOfPasteboard(*pasteboard);
}

bool DropView::acceptsSingleItem(const QString& path)
{
    if (path == Utils::getApplicationsFolderPath())
        return false;
    const std::optional<QString> home = Utils::checkAndReturnHomeFolderPath(path);
    if (home && path.startsWith(*home) && parentFolder(path) != *home)
        return true;
    return MediaMountRoots::startsWithAny(path);
}

bool DropView::performDragOperation(const QMimeData* pasteboard)
{
    const std::optional<QStringList> paths = fileNames(pasteboard);
    if (!paths)
        return false;
    if (pasteboard->urls().isEmpty()) {
        draggingExited(pasteboard);
        return false;
    }
    // Every path of the drag may have been refused on its way in.
    if (paths->isEmpty() || (paths->size() == 1 && !acceptsSingleItem(paths->first()))) {
        draggingExited(pasteboard);
        MyHudAlert::alertWithWindow(window(), HudAlertType::information, kNotAllowedMessage);
        return false;
    }
    if (delegate_)
        delegate_->dropViewDidGetDropWithPasteboard(this, pasteboard);
    return true;
}

void DropView::dragEnterEvent(QDragEnterEvent* event)
{
    // The zone takes file names only: any other drag passes it by.
    if (!fileNames(event->mimeData())) {
        event->ignore();
        return;
    }
    if (delegate_)
        delegate_->dropViewEntered({mDropViewTag_, QVariant::fromValue(event->mimeData()), {}});
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropView::dragMoveEvent(QDragMoveEvent* event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropView::dragLeaveEvent(QDragLeaveEvent* /*event*/)
{
    draggingExited(nullptr);
}

void DropView::dropEvent(QDropEvent* event)
{
    if (performDragOperation(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void DropView::draggingExited(const QMimeData* pasteboard)
{
    if (delegate_)
        delegate_->dropViewExited({mDropViewTag_, QVariant::fromValue(pasteboard), {}});
}

} // namespace tolvex
