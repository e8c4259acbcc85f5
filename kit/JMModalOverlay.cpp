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
        observerTokens_ << NotificationCenter::defaultCenter().addObserver(
            name, [this, handler](const Notification& notification) {
                if (notification.object.value<QObject*>() == this)
                    (this->*handler)(notification);
            });
}

JMModalOverlay::~JMModalOverlay()
{
    for (const NotificationCenter::Token token : std::as_const(observerTokens_))
        NotificationCenter::defaultCenter().removeObserver(token);
    // A showing that outlived its presenter would hold its window's input for good.
    if (modalWindow_) {
        if (shownContentView_)
            shownContentView_->setParent(nullptr);
        ApplicationModal::endModalSession(jmcurModSes_);
        delete modalWindow_;
        backdropBlur_.reset();
    }
}

void JMModalOverlay::setContentViewController(ViewController* controller)
{
    // A controller set while shown takes over at the next showing.
    contentViewController_ = controller;
}

void JMModalOverlay::setBackgroundColor(const QColor& color)
{
    if (color == backgroundColor_)
        return;
    backgroundColor_ = color;
    if (overlayView_)
        overlayView_->setBackgroundColor(color);
}

void JMModalOverlay::showInWindow(QWidget* window)
{
    if (isShown())
        return;
    if (!window)
        throw std::invalid_argument("window is nil");
    if (!contentViewController_)
        throw std::logic_error("contentViewController is nil");
    QWidget* contentView = contentViewController_->view();
    if (!contentView)
        throw std::logic_error("contentViewController.view is nil");

    post(JMModalOverlayWillShowNotification);
    parentWindow_ = window;
    setShown(true);

    wasResizable_ = isResizable(window);
    if (wasResizable_)
        setResizable(window, false);

    if (modalWindow_) {
        modalWindow_->hide();
        modalWindow_->deleteLater();
    }
    const QRect surface = surfaceRect(window);
    modalWindow_ = modalWindowForFrame(surface);
    AlphaValue::setAlphaValue(modalWindow_, 0.0);
    applyAppearance(modalWindow_, appearance_);

    const QRect backgroundRect =
        shouldOverlayTitleBar_ ? modalWindow_->rect() : contentViewFrame(window);
    overlayView_ = new JMOverlayView;
    overlayView_->setBackgroundColor(backgroundColor_);
    overlayView_->setModalOverlay(this);
    overlayView_->setCornerRadius(kCornerRadius);
    if (isVibrant(appearance_)) {
        visualEffectView_ = new VisualEffectView;
        visualEffectView_->setCornerRadius(kCornerRadius);
        fill(visualEffectView_, modalWindow_, backgroundRect);
        fill(overlayView_, visualEffectView_, QRect(QPoint(0, 0), backgroundRect.size()));
    } else {
        fill(overlayView_, modalWindow_, backgroundRect);
    }
    modalWindow_->setFocusProxy(overlayView_);

    containerView_ = new QWidget;
    fill(containerView_, overlayView_, overlayView_->rect());

    modalWindow_->setParent(window);
    modalWindow_->setGeometry(surface);
    window->installEventFilter(this);
    modalWindow_->show();
    modalWindow_->raise();
    if (isVibrant(appearance_))
        backdropBlur_ = std::make_unique<BackdropBlur>(
            window, modalWindow_, backgroundRect.translated(surface.topLeft()));

    shownContentView_ = contentView;
    fill(contentView, containerView_, containerView_->rect());
    if (!animates_) {
        AlphaValue::setAlphaValue(modalWindow_, 1.0);
        afterShow();
        return;
    }
    auto done = afterAll(2, [this] { afterShow(); });
    appearAnimationForDirection(animationDirection_).animateIn(contentView, done);
    AlphaValue::animateAlphaValue(modalWindow_, 1.0, AlphaValue::kDefaultAnimationDurationMs, done);
}

void JMModalOverlay::afterShow()
{
    post(JMModalOverlayDidShowNotification);
    jmcurModSes_ = ApplicationModal::beginModalSessionForWindow(modalWindow_);
}

void JMModalOverlay::close()
{
    if (!isShown() || !modalWindow_ || ApplicationModal::modalWindow() != modalWindow_)
        return;
    post(JMModalOverlayWillCloseNotification);

    QPointer<QWidget> contentView = shownContentView_;
    auto removeContent = [contentView] {
        if (contentView) {
            contentView->hide();
            contentView->setParent(nullptr);
        }
    };
    if (!animates_ || !contentView) {
        removeContent();
        afterClose();
        return;
    }
    auto done = afterAll(2, [this] { afterClose(); });
    dissapearAnimationForDirection(animationDirection_)
        .animateOut(contentView, [removeContent, done] {
            removeContent();
            done();
        });
    AlphaValue::animateAlphaValue(modalWindow_, 0.0, AlphaValue::kDefaultAnimationDurationMs, done);
}

void JMModalOverlay::afterClose()
{
    if (modalWindow_)
        modalWindow_->hide();
    backdropBlur_.reset();
    ApplicationModal::endModalSession(jmcurModSes_);

    // The pieces may be in the middle of handling the click that closed the overlay.
    if (modalWindow_)
        modalWindow_->deleteLater();
    modalWindow_ = nullptr;
    containerView_ = nullptr;
    overlayView_ = nullptr;
    shownContentView_ = nullptr;

    if (parentWindow_)
        parentWindow_->removeEventFilter(this);
    if (wasResizable_ && parentWindow_)
        setResizable(parentWindow_, true);
    setShown(false);
    post(JMModalOverlayDidCloseNotification);
}

bool JMModalOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == parentWindow_ && modalWindow_)
        modalWindow_->setGeometry(surfaceRect(parentWindow_));
    return false;
}

void JMModalOverlay::performClose(QObject*)
{
    if (delegate_ && !delegate_->modalOverlayShouldClose(this))
        return;
    close();
}

void JMModalOverlay::modalOverlayWillShow(const Notification& notification)
{
    if (delegate_)
        delegate_->modalOverlayWillShow(notification);
}

void JMModalOverlay::modalOverlayDidShow(const Notification& notification)
{
    if (delegate_)
        delegate_->modalOverlayDidShow(notification);
}

void JMModalOverlay::modalOverlayWillClose(const Notification& notification)
{
    if (delegate_)
        delegate_->modalOverlayWillClose(notification);
}

void JMModalOverlay::modalOverlayDidClose(const Notification& notification)
{
    if (delegate_)
        delegate_->modalOverlayDidClose(notification);
}

MDBorderlessWindow* JMModalOverlay::modalWindowForFrame(const QRect& frame)
{
    auto* window = new MDBorderlessWindow;
    window->setGeometry(frame);
    return window;
}

Transition JMModalOverlay::appearAnimationForDirection(int direction)
{
    using S = Transition::Subtype;
    return transitionForDirection(direction, {S::FromTop, S::FromBottom, S::FromLeft, S::FromRight},
                                  MediaTimingFunction::easeOut());
}

Transition JMModalOverlay::dissapearAnimationForDirection(int direction)
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
