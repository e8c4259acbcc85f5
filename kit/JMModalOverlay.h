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

    ViewController* contentViewController() const { return _contentViewController; }
    void setContentViewController(ViewController* controller);

    QColor backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(const QColor& color);

    bool isShown() const { return _shown; }
    void setShown(bool shown) { _shown = shown; }
    bool animates() const { return _animates; }
    void setAnimates(bool animates) { _animates = animates; }
    int animationDirection() const { return _animationDirection; }
    void setAnimationDirection(int direction) { _animationDirection = direction; }
    bool shouldCloseWhenClickOnBackground() const { return _shouldCloseWhenClickOnBackground; }
    void setShouldCloseWhenClickOnBackground(bool close)
    {
        _shouldCloseWhenClickOnBackground = close;
    }
    bool shouldOverlayTitleBar() const { return _shouldOverlayTitleBar; }
    void setShouldOverlayTitleBar(bool overlay) { _shouldOverlayTitleBar = overlay; }
    Appearance appearance() const { return _appearance; }
    void setAppearance(Appearance appearance) { _appearance = appearance; }
    // Not owned; it must outlive the overlay or be unset first.
    JMModalOverlayDelegate* delegate() const { return _delegate; }
    void setDelegate(JMModalOverlayDelegate* delegate) { _delegate = delegate; }

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

    static MDBorderlessWindow* _modalWindowForFrame(const QRect& frame);
    static Transition _appearAnimationForDirection(int direction);
    static Transition _dissapearAnimationForDirection(int direction);

    // The pieces of the current showing (null when closed), and the window last shown over.
    MDBorderlessWindow* modalWindow() const { return _modalWindow; }
    JMOverlayView* overlayView() const { return _overlayView; }
    QWidget* containerView() const { return _containerView; }
    VisualEffectView* visualEffectView() const { return _visualEffectView; }
    QWidget* parentWindow() const { return _parentWindow; }
    const BackdropBlur* backdropBlur() const { return _backdropBlur.get(); }

protected:
    // Keeps the showing on the window's surface, which moves inside the window when the window's
    // shadow comes or goes.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void _afterShow();
    void _afterClose();
    void post(const QString& name);

    QPointer<MDBorderlessWindow> _modalWindow;
    ApplicationModal::ModalSession jmcurModSes = 0;
    QPointer<JMOverlayView> _overlayView;
    QPointer<QWidget> _containerView;
    QPointer<VisualEffectView> _visualEffectView;
    // The frosting of what lies under a vibrant showing.
    std::unique_ptr<BackdropBlur> _backdropBlur;
    QPointer<QWidget> _parentWindow;
    // The content view while it is shown, so that close removes that one even if the controller
    // changed its view meanwhile.
    QPointer<QWidget> _shownContentView;
    bool _wasResizable = false;
    bool _shown = false;
    bool _animates = true;
    bool _shouldCloseWhenClickOnBackground = true;
    bool _shouldOverlayTitleBar = true;
    int _animationDirection = 0;
    JMModalOverlayDelegate* _delegate = nullptr;
    QPointer<ViewController> _contentViewController;
    Appearance _appearance = Appearance::Aqua;
    QColor _backgroundColor = QColor::fromRgbF(0.0, 0.0, 0.0, 0.4);
    QList<NotificationCenter::Token> _observerTokens;
};

} // namespace tolvex
