#include "AppDelegate.h"
#include "app/DropView.h"
#include "app/NamedImage.h"
#include "app/WindowLayout.h"
#include "engine/UtilsSettings.h"
#include "kit/MRSubtleButton.h"
#include "kit/MyHudAlert.h"
#include "kit/WAYWindow.h"

#include <QAbstractButton>
#include <QLayout>
#include <QPropertyAnimation>
#include <QScreen>

namespace tolvex {

namespace {

const QString kLayoutDoesNotFitMessage =
    QStringLiteral("The window does not fit on this screen in the other layout");

// The zones glide to their places the way an animator proxy moves a view.
constexpr int kZoneMoveDurationMs = 250;

void moveZone(QWidget* zone, QPointF origin)
{
    if (!zone)
        return;
    auto* animation = new QPropertyAnimation(zone, "pos", zone);
    animation->setDuration(kZoneMoveDurationMs);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    animation->setEndValue(origin.toPoint());
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

// The usable part of the window's screen, without panels and docks.
QRect availableArea(const QWidget* window)
{
    const QScreen* screen = window->screen();
    return screen ? screen->availableGeometry()
                  : QRect(QPoint(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

void setZoneShown(QWidget* zone, bool shown)
{
    if (zone)
        zone->setVisible(shown);
}

} // namespace

void AppDelegate::toggleWindowHorizontal(QObject* /*sender*/)
{
    WAYWindow* window = outlets_.window;
    if (!window)
        return;
    const bool toVertical = !WindowLayout::isVertical(window->surfaceSize());
    const QSize size = toVertical ? WindowLayout::kVerticalSize : WindowLayout::kHorizontalSize;
    const QRect available = availableArea(window);
    if (!WindowLayout::fits(size, available)) {
        alertWithWindow(HudAlertType::information, kLayoutDoesNotFitMessage);
        return;
    }

    setZoneShown(outlets_.onePassDropView, false);
    setZoneShown(outlets_.thirtyFivePassDropView, false);

    // The window keeps its bottom-left corner, as a window frame set with the same origin does,
    // inside the screen's usable area; a switch straight back returns it to where it was.
    const QRect old = window->surfaceGeometry();
    const bool untouchedSinceLastSwitch =
        lastLayoutSwitch_ && lastLayoutSwitch_->to == old.topLeft();
    const QPoint wanted = untouchedSinceLastSwitch
                              ? lastLayoutSwitch_->from
                              : QPoint(old.left(), old.bottom() + 1 - size.height());
    const QPoint topLeft = WindowLayout::placedInside(QRect(wanted, size), available);
    window->setFixedSurfaceSize(size);
    window->moveSurfaceTo(topLeft);
    lastLayoutSwitch_ = LayoutSwitch{old.topLeft(), topLeft};

    if (toVertical) {
        Utils::windIsVert_calSave(true);
        NamedImage::setImage(outlets_.toggleHorizontalVerticalBtn, QStringLiteral("vert_Layout"));
    } else {
        NamedImage::setImage(outlets_.toggleHorizontalVerticalBtn, QStringLiteral("horiz_Layout"));
        Utils::windIsVert_calSave(false);
    }
    placeZones(toVertical, size);
}

void AppDelegate::placeWindowAtStart()
{
    WAYWindow* window = outlets_.window;
    if (!window)
        return;
    const QRect available = availableArea(window);
    // Where neither fits, the lower horizontal window keeps more of itself on the screen.
    const bool storedFits = WindowLayout::fits(
        Utils::windIsVert_cal() ? WindowLayout::kVerticalSize : WindowLayout::kHorizontalSize,
        available);
    const bool vertical = WindowLayout::fits(WindowLayout::kVerticalSize, available) &&
                          (Utils::windIsVert_cal() == storedFits);
    if (vertical)
        toggleWindowHorizontal(nullptr);
    else if (Utils::windIsVert_cal())
        Utils::windIsVert_calSave(false);
    window->moveSurfaceTo(WindowLayout::centredIn(window->surfaceSize(), available));
    lastLayoutSwitch_.reset();
}

void AppDelegate::placeZones(bool vertical, QSize windowSize)
{
    WAYWindow* window = outlets_.window;
    if (!window || !outlets_.onePassDropView)
        return;
    // The content fills the whole window, title bar included. The new size is taken as set: a
    // window system may report the resize only later.
    QPointF centre(windowSize.width() / 2.0, windowSize.height() / 2.0);
    const QSizeF zone = outlets_.onePassDropView->size();
    const int titleBarHeight = window->titleBarView() ? window->titleBarView()->height() : 0;
    const qreal gap = titleBarHeight / 2.0;
    // The column is centred between the title bar and the start button, so that the last zone's
    // clear and reveal buttons stand as far from the start button as the zones from each other.
    const MRSubtleButton* start = outlets_.startShredBtn;
    if (vertical && start && start->parentWidget()->layout()) {
        const int startTop = windowSize.height() -
                             start->parentWidget()->layout()->contentsMargins().bottom() -
                             start->height();
        centre.setY((titleBarHeight + startTop) / 2.0);
    }
    const WindowLayout::ZoneOrigins origins =
        vertical ? WindowLayout::verticalOrigins(centre, zone, gap)
                 : WindowLayout::horizontalOrigins(centre, zone, gap);

    moveZone(outlets_.onePassDropView, origins.one);
    setZoneShown(outlets_.onePassDropView, true);
    moveZone(outlets_.sevenPassDropView, origins.seven);
    moveZone(outlets_.thirtyFivePassDropView, origins.thirtyFive);
    setZoneShown(outlets_.thirtyFivePassDropView, true);
}

} // namespace tolvex
