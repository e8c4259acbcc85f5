#pragma once

#include "kit/ImageView.h"
#include "kit/LocalEventMonitor.h"
#include "kit/MyHudAlertWindow.h"
#include "kit/ProgressIndicator.h"
#include "platform/HudAlertType.h"

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <optional>

namespace tolvex {

// The program's one transient notice: a dark translucent panel with an icon (or a spinner) and
// a message, centred over a window. A timed alert closes after 2 s or at the first mouse click
// anywhere in the application, and that click still reaches whatever it was aimed at; a busy
// alert stays until dismisWindow(). One alert object serves the whole process.
class MyHudAlert : public QObject {
    Q_OBJECT

public:
    static void alertWithWindow(QWidget* window, int type, const QString& message);
    static void dismisWindow();
    // The shared alert, or null before the first alert.
    static MyHudAlert* sharedAlert();
    // How long the timed alerts shown from now on stay; nothing means the usual 2 s.
    static void setDismissIntervalForTesting(std::optional<std::chrono::milliseconds> interval);

    // The panel and its parts live in the window the alert was shown over and go with it: the
    // accessors answer null from then until the next alert.
    int alertType() const { return alertType_; }
    ImageView* iconView() const { return iconView_; }
    QLabel* messageField() const { return messageField_; }
    ProgressIndicator* loadingIndicator() const { return loadingIndicator_; }
    MyHudAlertWindow* window() const { return window_; }
    // Whether the click watcher of a timed alert is installed.
    bool hasClickMonitor() const { return clickEvent_ != nullptr; }

    void showWindow(QWidget* sender);
    void updateWindowPosition();
    void dismiss();
    // A click on the alert itself.
    void mouseDown();

private:
    MyHudAlert();
    void loadNibNamed();
    void awakeFromNib();
    void removeClickMonitor();

    int alertType_ = HudAlertType::information;
    QPointer<MyHudAlertWindow> window_;
    QPointer<ImageView> iconView_;
    QPointer<QLabel> messageField_;
    QPointer<ProgressIndicator> loadingIndicator_;
    QPointer<LocalEventMonitor> clickEvent_;
    QTimer dismissTimer_;
};

} // namespace tolvex
