#pragma once

#include "kit/Appearance.h"
#include "kit/ApplicationModal.h"
#include "kit/BackdropBlur.h"
#include "kit/JMOverlayView.h"
#include "kit/MDBorderlessWindow.h"
#include "kit/Transition.h"
#include "kit/ViewController.h"
#include "kit/VisualEffectView.h"
#include "platform/NotificationCenter.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <memory>

class QWidget;

namespace tolvex {

class JMModalOverlay;

inline const QString JMModalOverlayWillShowNotification =
    QStringLiteral("JMModalOverlayWillShowNotification");
inline const QString JMModalOverlayDidShowNotification =
    QStringLiteral("JMModalOverlayDidShowNotification");
inline const QString JMModalOverlayWillCloseNotification =
    QStringLiteral("JMModalOverlayWillCloseNotification");
inline const QString JMModalOverlayDidCloseNotification =
    QStringLiteral("JMModalOverlayDidCloseNotification");

// Told about the overlay's showing and closing; every method has a default that does nothing
// (and lets the overlay close). The four notification methods receive the notification, whose
// object is the overlay.
class JMModalOverlayDelegate {
public:
    virtual ~JMModalOverlayDelegate() = default;
    virtual bool modalOverlayShouldClose(JMModalOverlay* overlay);
    virtual void modalOverlayWillShow(const Notification& notification);
    virtual void modalOverlayDidShow(const Notification& notification);
    virtual void modalOverlayWillClose(const Notification& notification);
    virtual void modalOverlayDidClose(const Notification& notification);
};

// Presents a view controller's view over a whole window, on a tinted background, as the
// application's modal window. Set the content and the looks, then showInWindow(); the screen
// later sends close().
class JMModalOverlay : public QObject {
    Q_OBJECT

public:
    explicit JMModalOverlay(QObject* parent = nullptr);
    ~JMModalOverlay() override;

    ViewController* contentViewController() const { return contentViewController_; }
    void setContentViewController(ViewController* controller);

    QColor backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(const QColor& color);

    bool isShown() const { return shown_; }
    void setShown(bool shown) { shown_ = shown; }
    bool animates() const { return animates_; }
    void setAnimates(bool animates) { animates_ = animates; }
    int animationDirection() const { return animationDirection_; }
    void setAnimationDirection(int direction) { animationDirection_ = direction; }
    bool shouldCloseWhenClickOnBackground() const { return shouldCloseWhenClickOnBackground_; }
    void setShouldCloseWhenClickOnBackground(bool close)
    {
        shouldCloseWhenClickOnBackground_ = close;
    }
    bool shouldOverlayTitleBar() const { return shouldOverlayTitleBar_; }
    void setShouldOverlayTitleBar(bool overlay) { shouldOverlayTitleBar_ = overlay; }
    Appearance appearance() const { return appearance_; }
    void setAppearance(Appearance appearance) { appearance_ = appearance; }
    // Not owned; it must outlive the overlay or be unset first.
    JMModalOverlayDelegate* delegate() const { return delegate_; }
    void setDelegate(JMModalOverlayDelegate* delegate) { delegate_ = delegate; }

    // Throws std::invalid_argument ("window is nil") or std::logic_error
    // ("contentViewController is nil", "contentViewController.view is nil") before changing
    // anything. Does nothing while shown.
    void showInWindow(QWidget* window);
    // Does nothing unless shown and the overlay's window is the application's modal window.
    void close();
    // Asks the delegate, then closes.
    void performClose(QObject* sender);

    // The overlay's own observers of its four notifications: each hands its notification to the
    // delegate.
    void modalOverlayWillShow(const Notification& notification);
    void modalOverlayDidShow(const Notification& notification);
    void modalOverlayWillClose(const Notification& notification);
    void modalOverlayDidClose(const Notification& notification);

    static MDBorderlessWindow* modalWindowForFrame(const QRect& frame);
    static Transition appearAnimationForDirection(int direction);
    static Transition dissapearAnimationForDirection(int direction);

    // The pieces of the current showing (null when closed), and the window last shown over.
    MDBorderlessWindow* modalWindow() const { return modalWindow_; }
    JMOverlayView* overlayView() const { return overlayView_; }
    QWidget* containerView() const { return containerView_; }
    VisualEffectView* visualEffectView() const { return visualEffectView_; }
    QWidget* parentWindow() const { return parentWindow_; }
    const BackdropBlur* backdropBlur() const { return backdropBlur_.get(); }

protected:
    // Keeps the showing on the window's surface, which moves inside the window when the window's
    // shadow comes or goes.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void afterShow();
    void afterClose();
    void post(const QString& name);

    QPointer<MDBorderlessWindow> modalWindow_;
    ApplicationModal::ModalSession jmcurModSes_ = 0;
    QPointer<JMOverlayView> overlayView_;
    QPointer<QWidget> containerView_;
    QPointer<VisualEffectView> visualEffectView_;
    // The frosting of what lies under a vibrant showing.
    std::unique_ptr<BackdropBlur> backdropBlur_;
    QPointer<QWidget> parentWindow_;
    // The content view while it is shown, so that close removes that one even if the controller
    // changed its view meanwhile.
    QPointer<QWidget> shownContentView_;
    bool wasResizable_ = false;
    bool shown_ = false;
    bool animates_ = true;
    bool shouldCloseWhenClickOnBackground_ = true;
    bool shouldOverlayTitleBar_ = true;
    int animationDirection_ = 0;
    JMModalOverlayDelegate* delegate_ = nullptr;
    QPointer<ViewController> contentViewController_;
    Appearance appearance_ = Appearance::Aqua;
    QColor backgroundColor_ = QColor::fromRgbF(0.0, 0.0, 0.0, 0.4);
    QList<NotificationCenter::Token> observerTokens_;
};

} // namespace tolvex
