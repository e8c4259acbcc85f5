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

QRect besideAnchor(QSize size, const QRect& anchor, PopoverPanel::Edge edge)
{
    const int x = anchor.left() + (anchor.width() - size.width()) / 2;
    const int y =
        edge == PopoverPanel::Edge::Below ? anchor.bottom() + 1 : anchor.top() - size.height();
    return QRect(QPoint(x, y), size);
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
    setContentsMargins(0, kArrowHeight, 0, 0);
}

void PopoverPanel::showRelativeTo(QWidget* anchor, Edge preferredEdge)
{
    adjustSize();
    if (anchor) {
        // A window of its own takes the application's palette, not that of the window below.
        setPalette(anchor->window()->palette());
        const QRect anchorFrame(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
        const QScreen* screen = anchor->window()->screen();
        const QRect frame = screen ? placement(size(), anchorFrame, preferredEdge,
                                               screen->availableGeometry(), controlsBeside(anchor))
                                   : besideAnchor(size(), anchorFrame, preferredEdge);
        edge_ = frame.top() > anchorFrame.center().y() ? Edge::Below : Edge::Above;
        arrowX_ = std::clamp(anchorFrame.left() + anchorFrame.width() / 2 - frame.left(),
                             static_cast<int>(kCornerRadius) + kArrowHalfWidth,
                             frame.width() - static_cast<int>(kCornerRadius) - kArrowHalfWidth);
        setContentsMargins(0, edge_ == Edge::Below ? kArrowHeight : 0, 0,
                           edge_ == Edge::Above ? kArrowHeight : 0);
        move(frame.topLeft());
    }
    if (!testAttribute(Qt::WA_TranslucentBackground))
        setMask(QRegion(shape().toFillPolygon().toPolygon()));
    show();
}

QPoint PopoverPanel::arrowTip() const
{
    return {arrowX_, edge_ == Edge::Below ? 0 : height()};
}

QRect PopoverPanel::placement(QSize size, const QRect& anchor, Edge preferredEdge,
                              const QRect& screen, const QList<QRect>& obstacles)
{
    const auto slidInside = [&](QRect frame) {
        frame.moveLeft(std::clamp(frame.left(), screen.left(),
                                  std::max(screen.left(), screen.right() + 1 - size.width())));
        frame.moveTop(std::clamp(frame.top(), screen.top(),
                                 std::max(screen.top(), screen.bottom() + 1 - size.height())));
        return frame;
    };
    const auto hasRoom = [&](const QRect& frame) {
        return frame.top() >= screen.top() && frame.bottom() <= screen.bottom();
    };
    const auto isClear = [&](const QRect& frame) {
        return std::none_of(obstacles.begin(), obstacles.end(),
                            [&frame](const QRect& obstacle) { return frame.intersects(obstacle); });
    };
    for (const Edge edge : {preferredEdge, otherEdge(preferredEdge)}) {
        const QRect frame = besideAnchor(size, anchor, edge);
        if (hasRoom(frame) && isClear(slidInside(frame)))
            return slidInside(frame);
    }
    QRect frame = besideAnchor(size, anchor, preferredEdge);
    if (!hasRoom(frame))
        frame = besideAnchor(size, anchor, otherEdge(preferredEdge));
    return slidInside(frame);
}

QPainterPath PopoverPanel::shape() const
{
    const QRectF body = QRectF(rect()).adjusted(0.5, edge_ == Edge::Below ? kArrowHeight : 0.5,
                                                -0.5, edge_ == Edge::Above ? -kArrowHeight : -0.5);
    QPainterPath path;
    path.addRoundedRect(body, kCornerRadius, kCornerRadius);
    const qreal base = edge_ == Edge::Below ? body.top() + 1 : body.bottom() - 1;
    const QPointF tip = arrowTip();
    QPainterPath arrow;
    arrow.moveTo(arrowX_ - kArrowHalfWidth, base);
    arrow.lineTo(tip.x(), edge_ == Edge::Below ? tip.y() + 0.5 : tip.y() - 0.5);
    arrow.lineTo(arrowX_ + kArrowHalfWidth, base);
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
