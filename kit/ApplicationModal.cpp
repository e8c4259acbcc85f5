#include "kit/ApplicationModal.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QShortcut>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace tolvex {

namespace {

struct Session {
    ApplicationModal::ModalSession id;
    QPointer<QWidget> window;
    QPointer<QWidget> focusBefore;
};

bool isInputEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

// The widget on whose behalf an input event is delivered.
QWidget* targetWidget(QObject* receiver)
{
    if (auto* widget = qobject_cast<QWidget*>(receiver))
        return widget;
    if (auto* shortcut = qobject_cast<QShortcut*>(receiver))
        return qobject_cast<QWidget*>(shortcut->parent());
    if (auto* action = qobject_cast<QAction*>(receiver)) {
        const auto objects = action->associatedObjects();
        for (QObject* object : objects)
            if (auto* widget = qobject_cast<QWidget*>(object))
                return widget;
    }
    return nullptr;
}

// Dialogs, popups, tool windows and tool tips work while a window is modal; ordinary windows
// do not.
bool worksWhenModal(const QWidget* window)
{
    switch (window->windowType()) {
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Drawer:
    case Qt::Popup:
    case Qt::Tool:
    case Qt::ToolTip:
    case Qt::SplashScreen:
        return true;
    default:
        return false;
    }
}

// A popup that a widget under the modal window opened is as blocked as that widget.
bool opensUnder(const QWidget* popup, const QWidget* modal)
{
    const QWidget* opener = popup->parentWidget();
    return popup->windowType() == Qt::Popup && opener && opener->window() == modal->window() &&
           opener != modal && !modal->isAncestorOf(opener);
}

class ModalInputFilter : public QObject {
public:
    std::vector<Session> sessions;
    ApplicationModal::ModalSession nextId = 1;

    QWidget* modalWindow() const
    {
        for (auto it = sessions.rbegin(); it != sessions.rend(); ++it)
            if (it->window)
                return it->window;
        return nullptr;
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (!isInputEvent(event->type()))
            return false;
        QWidget* modal = modalWindow();
        QWidget* target = targetWidget(receiver);
        if (!modal || !target)
            return false;
        if (target == modal || modal->isAncestorOf(target))
            return false;
        const QWidget* targetWindow = target->window();
        if (targetWindow != modal->window() && worksWhenModal(targetWindow) &&
            !opensUnder(targetWindow, modal))
            return false;
        event->accept();
        return true;
    }
};

ModalInputFilter& filter()
{
    static auto* instance = [] {
        auto* f = new ModalInputFilter;
        f->setParent(qApp);
        return f;
    }();
    return *instance;
}

} // namespace

ApplicationModal::ModalSession ApplicationModal::beginModalSessionForWindow(QWidget* window)
{
    ModalInputFilter& f = filter();
    if (f.sessions.empty())
        qApp->installEventFilter(&f);
    const ModalSession id = f.nextId++;
    f.sessions.push_back({id, window, QApplication::focusWidget()});
    if (!window->isAncestorOf(QApplication::focusWidget()))
        window->setFocus(Qt::OtherFocusReason);
    return id;
}

void ApplicationModal::endModalSession(ModalSession session)
{
    ModalInputFilter& f = filter();
    const auto it = std::find_if(f.sessions.begin(), f.sessions.end(),
                                 [session](const Session& s) { return s.id == session; });
    if (it == f.sessions.end())
        return;
    const QPointer<QWidget> focusBefore = it->focusBefore;
    f.sessions.erase(it);
    if (!f.sessions.empty())
        return;
    qApp->removeEventFilter(&f);
    if (focusBefore)
        focusBefore->setFocus(Qt::OtherFocusReason);
}

QWidget* ApplicationModal::modalWindow()
{
    return filter().modalWindow();
}

bool ApplicationModal::isBlocked(const QWidget* widget)
{
    const QWidget* modal = modalWindow();
    if (modal && modal != widget && !modal->isAncestorOf(widget))
        return true;
    const QWidget* window = widget->window();
    const QWidget* dialog = QApplication::activeModalWidget();
    const QWidget* popup = QApplication::activePopupWidget();
    return (dialog && dialog != window) || (popup && popup != window);
}

} // namespace tolvex
