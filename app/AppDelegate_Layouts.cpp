#include "AppDelegate.h"
#include "app/DropView.h"
#include "app/NamedImage.h"
#include "app/WindowLayout.h"
#include "engine/UtilsSettings.h"
#include "kit/WAYWindow.h"

#include <QAbstractButton>
#include <QPropertyAnimation>
#include <QScreen>
#include <algorithm>

namespace tolvex {

namespace {

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

    setZoneShown(outlets_.onePassDropView, false);
    setZoneShown(outlets_.thirtyFivePassDropView, false);

    // The window keeps its bottom-left corner, as a window frame set with the same origin does,
    // but its title bar never leaves the top of the screen, where it could not be dragged back.
    const QSize size = toVertical ? WindowLayout::kVerticalSize : WindowLayout::kHorizontalSize;
    const QRect old = window->surfaceGeometry();
    int top = old.bottom() + 1 - size.height();
    if (const QScreen* screen = window->screen())
        top = std::max(top, screen->availableGeometry().top());
    window->setFixedSurfaceSize(size);
    window->moveSurfaceTo(QPoint(old.left(), top));

    if (toVertical) {
        Utils::windIsVert_calSave(true);
        NamedImage::setImage(outlets_.toggleHorizontalVerticalBtn, QStringLiteral("vert_Layout"));
    } else {
        NamedImage::setImage(outlets_.toggleHorizontalVerticalBtn, QStringLiteral("horiz_Layout"));
        Utils::windIsVert_calSave(false);
    }
    placeZones(toVertical, size);
}

void AppDelegate::placeZones(bool vertical, QSize windowSize)
{
    WAYWindow* window = outlets_.window;
    if (!window || !outlets_.onePassDropView)
        return;
    // The content fills the whole window, title bar included. The new size is taken as set: a
    // window system may report the resize only later.
    const QPointF centre(windowSize.width() / 2.0, windowSize.height() / 2.0);
    const QSizeF zone = outlets_.onePassDropView->size();
    const qreal gap = window->titleBarView() ? window->titleBarView()->height() / 2.0 : 0.0;
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
