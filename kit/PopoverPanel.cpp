#include "kit/PopoverPanel.h"

#include "kit/CompositingMonitor.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <algorithm>

namespace tolvex {

namespace {

constexpr int kArrowHalfWidth = 9;
constexpr qreal kCornerRadius = 6.0;
constexpr QColor kEdgeColor(255, 255, 255, 60);

bool facesSideways(PopoverPanel::Edge edge)
{
    return edge == PopoverPanel::Edge::Right || edge == PopoverPanel::Edge::Left;
}

// The popover's frame, its arrow included, centred on the anchor's side.
QRect besideAnchor(QSize body, const QRect& anchor, PopoverPanel::Edge edge)
{
    using Edge = PopoverPanel::Edge;
    const int arrow = PopoverPanel::kArrowHeight;
    if (facesSideways(edge)) {
        const QSize size = body + QSize(arrow, 0);
        const int x = edge == Edge::Right ? anchor.right() + 1 : anchor.left() - size.width();
        return QRect(QPoint(x, anchor.top() + (anchor.height() - size.height()) / 2), size);
    }
    const QSize size = body + QSize(0, arrow);
    const int y = edge == Edge::Below ? anchor.bottom() + 1 : anchor.top() - size.height();
    return QRect(QPoint(anchor.left() + (anchor.width() - size.width()) / 2, y), size);
}

PopoverPanel::Edge otherEdge(PopoverPanel::Edge edge)
{
    return edge == PopoverPanel::Edge::Below ? PopoverPanel::Edge::Above
                                             : PopoverPanel::Edge::Below;
}

// The controls a popover of `anchor` should leave readable: those of the view that holds it.
QList<QRect> controlsBeside(const QWidget* anchor)
{
    QList<QRect> frames;
    const QWidget* view = anchor->parentWidget();
    if (!view)
        return frames;
    for (const QWidget* control : view->findChildren<QWidget*>()) {
        const bool isControl = qobject_cast<const QAbstractButton*>(control) ||
                               qobject_cast<const QLabel*>(control) ||
                               qobject_cast<const QLineEdit*>(control);
        if (isControl && control != anchor && control->isVisible() &&
            !qobject_cast<const PopoverPanel*>(control->window()))
            frames << QRect(control->mapToGlobal(QPoint(0, 0)), control->size());
    }
    return frames;
}

} // namespace

PopoverPanel::PopoverPanel(QWidget* parent) : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_NoMouseReplay);
    // Where the window system composites, the rounded body and its arrow are drawn smooth on a
    // clear window; elsewhere the window is cut to their shape.
    if (CompositingMonitor::instance()->composites())
        setAttribute(Qt::WA_TranslucentBackground);
}

void PopoverPanel::showRelativeTo(QWidget* anchor, Edge preferredEdge)
{
    setContentsMargins(0, 0, 0, 0);
    const QSize body = sizeHint().expandedTo(minimumSize());
    resize(body);
    if (anchor) {
        // A window of its own takes the application's palette, not that of the window below.
        setPalette(anchor->window()->palette());
        const QRect anchorFrame(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
        const QScreen* screen = anchor->window()->screen();
        const Placement placed =
            screen ? placement(body, anchorFrame, preferredEdge, screen->availableGeometry(),
                               controlsBeside(anchor))
                   : Placement{besideAnchor(body, anchorFrame, preferredEdge), preferredEdge};
        edge_ = placed.edge;
        const int end = static_cast<int>(kCornerRadius) + kArrowHalfWidth;
        arrowAt_ =
            isSideways()
                ? std::clamp(anchorFrame.top() + anchorFrame.height() / 2 - placed.frame.top(), end,
                             std::max(end, placed.frame.height() - end))
                : std::clamp(anchorFrame.left() + anchorFrame.width() / 2 - placed.frame.left(),
                             end, std::max(end, placed.frame.width() - end));
        setContentsMargins(
            edge_ == Edge::Right ? kArrowHeight : 0, edge_ == Edge::Below ? kArrowHeight : 0,
            edge_ == Edge::Left ? kArrowHeight : 0, edge_ == Edge::Above ? kArrowHeight : 0);
        setGeometry(placed.frame);
    }
    if (!testAttribute(Qt::WA_TranslucentBackground))
        setMask(QRegion(shape().toFillPolygon().toPolygon()));
    show();
}

QPoint PopoverPanel::arrowTip() const
{
    switch (edge_) {
    case Edge::Below:
        return {arrowAt_, 0};
    case Edge::Above:
        return {arrowAt_, height()};
    case Edge::Right:
        return {0, arrowAt_};
    case Edge::Left:
        break;
    }
    return {width(), arrowAt_};
}

PopoverPanel::Placement PopoverPanel::placement(QSize size, const QRect& anchor, Edge preferredEdge,
                                                const QRect& screen, const QList<QRect>& obstacles)
{
    const auto slidInside = [&](QRect frame) {
        frame.moveLeft(std::clamp(frame.left(), screen.left(),
                                  std::max(screen.left(), screen.right() + 1 - frame.width())));
        frame.moveTop(std::clamp(frame.top(), screen.top(),
                                 std::max(screen.top(), screen.bottom() + 1 - frame.height())));
        return frame;
    };
    // The side that faces the control must not leave the screen; the popover slides along it.
    const auto hasRoom = [&](const QRect& frame, Edge edge) {
        return facesSideways(edge)
                   ? frame.left() >= screen.left() && frame.right() <= screen.right()
                   : frame.top() >= screen.top() && frame.bottom() <= screen.bottom();
    };
    const auto isClear = [&](const QRect& frame) {
        return std::none_of(obstacles.begin(), obstacles.end(),
                            [&frame](const QRect& obstacle) { return frame.intersects(obstacle); });
    };
    for (const Edge edge : {preferredEdge, otherEdge(preferredEdge), Edge::Right, Edge::Left}) {
        const QRect frame = besideAnchor(size, anchor, edge);
        if (hasRoom(frame, edge) && isClear(slidInside(frame)))
            return {slidInside(frame), edge};
    }
    Edge edge = preferredEdge;
    if (!hasRoom(besideAnchor(size, anchor, edge), edge))
        edge = otherEdge(preferredEdge);
    return {slidInside(besideAnchor(size, anchor, edge)), edge};
}

QPainterPath PopoverPanel::shape() const
{
    const QMarginsF arrowSide(
        edge_ == Edge::Right ? kArrowHeight : 0.5, edge_ == Edge::Below ? kArrowHeight : 0.5,
        edge_ == Edge::Left ? kArrowHeight : 0.5, edge_ == Edge::Above ? kArrowHeight : 0.5);
    const QRectF body = QRectF(rect()).marginsRemoved(arrowSide);
    QPainterPath path;
    path.addRoundedRect(body, kCornerRadius, kCornerRadius);
    // The arrow's base lies a little inside the body, so that the two join without a seam.
    const QPointF tip = arrowTip();
    const qreal depth = kArrowHeight + 1.0;
    const QPointF toBase = edge_ == Edge::Below   ? QPointF(0, depth)
                           : edge_ == Edge::Above ? QPointF(0, -depth)
                           : edge_ == Edge::Right ? QPointF(depth, 0)
                                                  : QPointF(-depth, 0);
    const QPointF across = isSideways() ? QPointF(0, kArrowHalfWidth) : QPointF(kArrowHalfWidth, 0);
    QPainterPath arrow;
    arrow.moveTo(tip + toBase - across);
    arrow.lineTo(tip);
    arrow.lineTo(tip + toBase + across);
    arrow.closeSubpath();
    return path.united(arrow);
}

void PopoverPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(kEdgeColor);
    painter.setBrush(palette().color(QPalette::Window));
    painter.drawPath(shape());
}

void PopoverPanel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    if (!testAttribute(Qt::WA_TranslucentBackground) && isVisible())
        setMask(QRegion(shape().toFillPolygon().toPolygon()));
}

} // namespace tolvex
