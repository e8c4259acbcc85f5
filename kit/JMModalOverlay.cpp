#include "kit/JMModalOverlay.h"

#include "kit/AlphaValue.h"
#include "kit/Autoresizing.h"
#include "kit/JMOverlayView.h"
#include "kit/MDBorderlessWindow.h"
#include "kit/MediaTimingFunction.h"
#include "kit/ViewController.h"
#include "kit/WAYWindow.h"
#include "kit/WindowResizability.h"

#include <QEvent>
#include <QMainWindow>
#include <array>
#include <memory>
#include <stdexcept>

namespace tolvex {

namespace {

constexpr qreal kCornerRadius = 8.0;
constexpr int kTransitionDurationMs = 300;

// What the overlay covers: the window's surface, without the shadow a window may draw around it.
QRect surfaceRect(QWidget* window)
{
    if (auto* way = qobject_cast<WAYWindow*>(window))
        return way->surfaceRect();
    return window->rect();
}

// The frame of the window's content view on its surface: what stays clear of the title bar.
QRect contentViewFrame(QWidget* window)
{
    if (auto* way = qobject_cast<WAYWindow*>(window))
        return way->contentView()
                   ? way->contentView()->geometry().translated(-way->surfaceRect().topLeft())
                   : QRect();
    if (auto* main = qobject_cast<QMainWindow*>(window))
        return main->centralWidget() ? main->centralWidget()->geometry() : QRect();
    return window->rect();
}

void fill(QWidget* view, QWidget* parent, const QRect& frame)
{
    view->setParent(parent);
    view->setGeometry(frame);
    setAutoresizesWidthAndHeight(view);
    view->show();
}

// Directions 1 to 4 (top, bottom, left, right) push with the given subtypes; any other fades.
Transition transitionForDirection(int direction, const std::array<Transition::Subtype, 4>& subtypes,
                                  const QEasingCurve& timingFunction)
{
    Transition transition;
    transition.durationMs = kTransitionDurationMs;
    transition.timingFunction = timingFunction;
    if (direction >= 1 && direction <= 4) {
        transition.type = Transition::Type::Push;
        transition.subtype = subtypes[static_cast<std::size_t>(direction - 1)];
    }
    return transition;
}

// Runs `done` once each of `count` parts has called the returned function.
std::function<void()> afterAll(int count, std::function<void()> done)
{
    auto remaining = std::make_shared<int>(count);
    return [remaining, done = std::move(done)] {
        if (--*remaining == 0)
            done();
    };
}

} // namespace

bool JMModalOverlayDelegate::modalOverlayShouldClose(JMModalOverlay*)
{
    return true;
}

void JMModalOverlayDelegate::modalOverlayWillShow(const Notification&) {}
void JMModalOverlayDelegate::modalOverlayDidShow(const Notification&) {}
void JMModalOverlayDelegate::modalOverlayWillClose(const Notification&) {}
void JMModalOverlayDelegate::modalOverlayDidClose(const Notification&) {}

JMModalOverlay::JMModalOverlay(QObject* parent) : QObject(parent)
{
    using Handler = void (JMModalOverlay::*)(const Notification&);
    const std::pair<QString, Handler> observers[] = {
        {JMModalOverlayWillShowNotification, &JMModalOverlay::modalOverlayWillShow},
        {JMModalOverlayDidShowNotification, &JMModalOverlay::modalOverlayDidShow},
        {JMModalOverlayWillCloseNotification, &JMModalOverlay::modalOverlayWillClose},
        {JMModalOverlayDidCloseNotification, &JMModalOverlay::modalOverlayDidClose},
    };
    for (const auto& [name, handler] : observers)
        _observerTokens << NotificationCenter::defaultCenter().addObserver(
            name, [this, handler](const Notification& notification) {
                if (notification.object.value<QObject*>() == this)
                    (this->*handler)(notification);
            });
}

JMModalOverlay::~JMModalOverlay()
{
    for (const NotificationCenter::Token token : std::as_const(_observerTokens))
        NotificationCenter::defaultCenter().removeObserver(token);
    // A showing that outlived its presenter would hold its window's input for good.
    if (_modalWindow) {
        if (_shownContentView)
            _shownContentView->setParent(nullptr);
        ApplicationModal::endModalSession(jmcurModSes);
        delete _modalWindow;
        _backdropBlur.reset();
    }
}

void JMModalOverlay::setContentViewController(ViewController* controller)
{
    // A controller set while shown takes over at the next showing.
    _contentViewController = controller;
}

void JMModalOverlay::setBackgroundColor(const QColor& color)
{
    if (color == _backgroundColor)
        return;
    _backgroundColor = color;
    if (_overlayView)
        _overlayView->setBackgroundColor(color);
}

void JMModalOverlay::showInWindow(QWidget* window)
{
    if (isShown())
        return;
    if (!window)
        throw std::invalid_argument("window is nil");
    if (!_contentViewController)
        throw std::logic_error("contentViewController is nil");
    QWidget* contentView = _contentViewController->view();
    if (!contentView)
        throw std::logic_error("contentViewController.view is nil");

    post(JMModalOverlayWillShowNotification);
    _parentWindow = window;
    setShown(true);

    _wasResizable = isResizable(window);
    if (_wasResizable)
        setResizable(window, false);

    if (_modalWindow) {
        _modalWindow->hide();
        _modalWindow->deleteLater();
    }
    const QRect surface = surfaceRect(window);
    _modalWindow = _modalWindowForFrame(surface);
    AlphaValue::setAlphaValue(_modalWindow, 0.0);
    applyAppearance(_modalWindow, _appearance);

    const QRect backgroundRect =
        _shouldOverlayTitleBar ? _modalWindow->rect() : contentViewFrame(window);
    _overlayView = new JMOverlayView;
    _overlayView->setBackgroundColor(_backgroundColor);
    _overlayView->setModalOverlay(this);
    _overlayView->setCornerRadius(kCornerRadius);
    if (isVibrant(_appearance)) {
        _visualEffectView = new VisualEffectView;
        _visualEffectView->setCornerRadius(kCornerRadius);
        fill(_visualEffectView, _modalWindow, backgroundRect);
        fill(_overlayView, _visualEffectView, QRect(QPoint(0, 0), backgroundRect.size()));
    } else {
        fill(_overlayView, _modalWindow, backgroundRect);
    }
    _modalWindow->setFocusProxy(_overlayView);

    _containerView = new QWidget;
    fill(_containerView, _overlayView, _overlayView->rect());

    _modalWindow->setParent(window);
    _modalWindow->setGeometry(surface);
    window->installEventFilter(this);
    _modalWindow->show();
    _modalWindow->raise();
    if (isVibrant(_appearance))
        _backdropBlur = std::make_unique<BackdropBlur>(
            window, _modalWindow, backgroundRect.translated(surface.topLeft()));

    _shownContentView = contentView;
    fill(contentView, _containerView, _containerView->rect());
    if (!_animates) {
        AlphaValue::setAlphaValue(_modalWindow, 1.0);
        _afterShow();
        return;
    }
    auto done = afterAll(2, [this] { _afterShow(); });
    _appearAnimationForDirection(_animationDirection).animateIn(contentView, done);
    AlphaValue::animateAlphaValue(_modalWindow, 1.0, AlphaValue::kDefaultAnimationDurationMs, done);
}

void JMModalOverlay::_afterShow()
{
    post(JMModalOverlayDidShowNotification);
    jmcurModSes = ApplicationModal::beginModalSessionForWindow(_modalWindow);
}

void JMModalOverlay::close()
{
    if (!isShown() || !_modalWindow || ApplicationModal::modalWindow() != _modalWindow)
        return;
    post(JMModalOverlayWillCloseNotification);

    QPointer<QWidget> contentView = _shownContentView;
    auto removeContent = [contentView] {
        if (contentView) {
            contentView->hide();
            contentView->setParent(nullptr);
        }
    };
    if (!_animates || !contentView) {
        removeContent();
        _afterClose();
        return;
    }
    auto done = afterAll(2, [this] { _afterClose(); });
    _dissapearAnimationForDirection(_animationDirection)
        .animateOut(contentView, [removeContent, done] {
            removeContent();
            done();
        });
    AlphaValue::animateAlphaValue(_modalWindow, 0.0, AlphaValue::kDefaultAnimationDurationMs, done);
}

void JMModalOverlay::_afterClose()
{
    if (_modalWindow)
        _modalWindow->hide();
    _backdropBlur.reset();
    ApplicationModal::endModalSession(jmcurModSes);

    // The pieces may be in the middle of handling the click that closed the overlay.
    if (_modalWindow)
        _modalWindow->deleteLater();
    _modalWindow = nullptr;
    _containerView = nullptr;
    _overlayView = nullptr;
    _shownContentView = nullptr;

    if (_parentWindow)
        _parentWindow->removeEventFilter(this);
    if (_wasResizable && _parentWindow)
        setResizable(_parentWindow, true);
    setShown(false);
    post(JMModalOverlayDidCloseNotification);
}

bool JMModalOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == _parentWindow && _modalWindow)
        _modalWindow->setGeometry(surfaceRect(_parentWindow));
    return false;
}

void JMModalOverlay::performClose(QObject*)
{
    if (_delegate && !_delegate->modalOverlayShouldClose(this))
        return;
    close();
}

void JMModalOverlay::modalOverlayWillShow(const Notification& notification)
{
    if (_delegate)
        _delegate->modalOverlayWillShow(notification);
}

void JMModalOverlay::modalOverlayDidShow(const Notification& notification)
{
    if (_delegate)
        _delegate->modalOverlayDidShow(notification);
}

void JMModalOverlay::modalOverlayWillClose(const Notification& notification)
{
    if (_delegate)
        _delegate->modalOverlayWillClose(notification);
}

void JMModalOverlay::modalOverlayDidClose(const Notification& notification)
{
    if (_delegate)
        _delegate->modalOverlayDidClose(notification);
}

MDBorderlessWindow* JMModalOverlay::_modalWindowForFrame(const QRect& frame)
{
    auto* window = new MDBorderlessWindow;
    window->setGeometry(frame);
    return window;
}

Transition JMModalOverlay::_appearAnimationForDirection(int direction)
{
    using S = Transition::Subtype;
    return transitionForDirection(direction, {S::FromTop, S::FromBottom, S::FromLeft, S::FromRight},
                                  MediaTimingFunction::easeOut());
}

Transition JMModalOverlay::_dissapearAnimationForDirection(int direction)
{
    using S = Transition::Subtype;
    return transitionForDirection(direction, {S::FromBottom, S::FromTop, S::FromRight, S::FromLeft},
                                  MediaTimingFunction::easeIn());
}

void JMModalOverlay::post(const QString& name)
{
    NotificationCenter::defaultCenter().post(name,
                                             QVariant::fromValue(static_cast<QObject*>(this)));
}

} // namespace tolvex
