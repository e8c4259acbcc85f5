#pragma once

#include "kit/LocalEventMonitor.h"
#include "kit/MyHudAlertWindow.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class QLabel;
class QWidget;

namespace tolvex {

class ImageView;
class ProgressIndicator;

// HudAlertType: 0 information, 1 warning, 2 error, 3 success, 4 busy spinner; other values look
// and behave as 0.
enum HudAlertType : int {
    HudAlertTypeInfo = 0,
    HudAlertTypeWarning = 1,
    HudAlertTypeError = 2,
    HudAlertTypeSuccess = 3,
    HudAlertTypeBusy = 4,
};

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

    int alertType_ = HudAlertTypeInfo;
    QPointer<MyHudAlertWindow> window_;
    ImageView* iconView_ = nullptr;
    QLabel* messageField_ = nullptr;
    ProgressIndicator* loadingIndicator_ = nullptr;
    QPointer<LocalEventMonitor> clickEvent_;
    QTimer dismissTimer_;
};

} // namespace tolvex
