#include "kit/MyHudAlert.h"

#include "kit/AlphaValue.h"
#include "kit/Images.h"
#include "kit/WAYWindow.h"

#include <QApplication>
#include <QScreen>

namespace tolvex {

namespace {

constexpr qreal kShownAlpha = 0.86;
constexpr std::chrono::milliseconds kDismissAfter(2000);
constexpr float kCornerRadius = 13.0f;
// The panel's layout.
constexpr QSize kPanelSize(220, 140);
constexpr QRect kIconFrame(86, 18, 48, 48);
constexpr QRect kSpinnerFrame(94, 26, 32, 32);
constexpr QRect kMessageFrame(10, 74, 200, 56);
constexpr int kMessagePixelSize = 13;

MyHudAlert* shared = nullptr;
std::chrono::milliseconds dismissAfter = kDismissAfter;

QString imageNameForType(int type)
{
    switch (type) {
    case HudAlertType::warning:
        return QStringLiteral("MyHudAlertWarn");
    case HudAlertType::error:
        return QStringLiteral("MyHudAlertError");
    case HudAlertType::success:
        return QStringLiteral("MyHudAlertSuccess");
    default:
        return QStringLiteral("MyHudAlertInfo");
    }
}

} // namespace

MyHudAlert::MyHudAlert() : QObject(QCoreApplication::instance())
{
    dismissTimer_.setSingleShot(true);
    dismissTimer_.setTimerType(Qt::PreciseTimer);
    connect(&dismissTimer_, &QTimer::timeout, this, &MyHudAlert::dismiss);
    loadNibNamed();
}

MyHudAlert* MyHudAlert::sharedAlert()
{
    return shared;
}

void MyHudAlert::setDismissIntervalForTesting(std::optional<std::chrono::milliseconds> interval)
{
    dismissAfter = interval.value_or(kDismissAfter);
}

void MyHudAlert::loadNibNamed()
{
    window_ = new MyHudAlertWindow;
    window_->resize(kPanelSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window_->move(screen->geometry().center() - window_->rect().center());
    connect(window_, &MyHudAlertWindow::mouseDown, this, &MyHudAlert::mouseDown);

    iconView_ = new ImageView(window_);
    iconView_->setGeometry(kIconFrame);
    loadingIndicator_ = new ProgressIndicator(window_);
    loadingIndicator_->setGeometry(kSpinnerFrame);
    loadingIndicator_->hide();
    messageField_ = new QLabel(window_);
    messageField_->setGeometry(kMessageFrame);
    messageField_->setAlignment(Qt::AlignCenter);
    messageField_->setWordWrap(true);
    QFont font = messageField_->font();
    font.setPixelSize(kMessagePixelSize);
    messageField_->setFont(font);
    awakeFromNib();
}

void MyHudAlert::awakeFromNib()
{
    window_->setCornerRadius(kCornerRadius);
    QPalette palette = messageField_->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    messageField_->setPalette(palette);
    loadingIndicator_->setPalette(palette);
    iconView_->setImageScaling(ImageView::ImageScaling::AxesIndependently);
}

void MyHudAlert::alertWithWindow(QWidget* window, int type, const QString& message)
{
    if (!shared)
        shared = new MyHudAlert;
    // The panel lives inside its parent window and goes when that window goes.
    if (!shared->window_)
        shared->loadNibNamed();
    shared->alertType_ = type;

    if (type == HudAlertType::busy) {
        shared->iconView_->hide();
        shared->loadingIndicator_->show();
        shared->loadingIndicator_->startAnimation();
    } else {
        shared->loadingIndicator_->hide();
        shared->iconView_->show();
        shared->iconView_->setImage(imageNamed(imageNameForType(type)));
    }
    shared->messageField_->setText(message);
    shared->window_->setParentWindow(window);
    shared->showWindow(window);
}

void MyHudAlert::dismisWindow()
{
    if (shared)
        shared->dismiss();
}

void MyHudAlert::showWindow(QWidget*)
{
    AlphaValue::setAlphaValue(window_, 0.0);
    window_->show();
    window_->raise();
    updateWindowPosition();
    AlphaValue::animateAlphaValue(window_, kShownAlpha);

    // What an earlier alert left pending must not close this one.
    removeClickMonitor();
    if (alertType_ == HudAlertType::busy) {
        // A busy alert stays until it is dismissed.
        dismissTimer_.stop();
        return;
    }
    dismissTimer_.start(dismissAfter);
    clickEvent_ = LocalEventMonitor::addLocalMonitorForMouseDown(
        Qt::LeftButton | Qt::RightButton, [this](QPointF globalPosition, Qt::MouseButton) {
            if (!window_)
                return;
            const QRectF frame(window_->mapToGlobal(QPointF(0, 0)), window_->size());
            if (frame.contains(globalPosition))
                return;
            removeClickMonitor();
            dismiss();
        });
}

void MyHudAlert::updateWindowPosition()
{
    const QWidget* parent = window_->parentWidget();
    if (!parent)
        return;
    // Over the window's surface: the shadow some windows draw around it is not part of them.
    const auto* way = qobject_cast<const WAYWindow*>(parent);
    const QRectF surface = way ? QRectF(way->surfaceRect()) : QRectF(parent->rect());
    window_->move(qRound(surface.x() + surface.width() * 0.5 - window_->width() * 0.5),
                  qRound(surface.y() + surface.height() * 0.5 - window_->height() * 0.5));
}

void MyHudAlert::dismiss()
{
    if (!window_)
        return;
    AlphaValue::setAlphaValue(window_, 0.0);
    window_->hide();
}

void MyHudAlert::mouseDown()
{
    if (alertType_ != HudAlertType::busy)
        dismiss();
}

void MyHudAlert::removeClickMonitor()
{
    if (clickEvent_)
        LocalEventMonitor::removeMonitor(clickEvent_);
    clickEvent_ = nullptr;
}

} // namespace tolvex
