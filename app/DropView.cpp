#include "DropView.h"

#include "app/DropViewDelegate.h"
#include "engine/MediaMountRoots.h"
#include "engine/UtilsFileSystem.h"
#include "kit/AlphaValue.h"
#include "kit/MyHudAlert.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <algorithm>

namespace tolvex {

namespace {

// How much of a disabled zone's drawn views shows: about as much as of its greyed labels.
constexpr qreal kDimmedAlpha = 0.4;

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

void DropView::childEvent(QChildEvent* event)
{
    if (event->added())
        event->child()->installEventFilter(this);
    QWidget::childEvent(event);
}

bool DropView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        dimWithLabels();
    return QWidget::eventFilter(watched, event);
}

// Disabled labels grey themselves; the ring and the image buttons, drawn in their own colours,
// fade with them.
void DropView::dimWithLabels()
{
    const QList<QWidget*> children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    const bool dimmed = std::any_of(children.begin(), children.end(), [](const QWidget* child) {
        return qobject_cast<const QLabel*>(child) && !child->isEnabled();
    });
    for (QWidget* child : children)
        if (!qobject_cast<QLabel*>(child))
            AlphaValue::setAlphaValue(child, dimmed ? kDimmedAlpha : 1.0);
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
    const std::optional<QStringList> paths =
        pasteboard && pasteboard == entered_ ? enteredFileNames_ : fileNames(pasteboard);
    entered_ = nullptr;
    enteredFileNames_.reset();
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
        delegate_->dropViewDidGetDropWithPasteboard(this, *paths);
    return true;
}

void DropView::dragEnterEvent(QDragEnterEvent* event)
{
    // The zone takes file names only: any other drag passes it by.
    entered_ = event->mimeData();
    enteredFileNames_ = fileNames(entered_);
    if (!enteredFileNames_) {
        entered_ = nullptr;
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
    entered_ = nullptr;
    enteredFileNames_.reset();
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
