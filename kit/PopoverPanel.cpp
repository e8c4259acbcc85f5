#include "kit/PopoverPanel.h"

#include <QScreen>
#include <algorithm>

namespace tolvex {

namespace {

QRect besideAnchor(QSize size, const QRect& anchor, PopoverPanel::Edge edge)
{
    const int x = anchor.center().x() - size.width() / 2;
    const int y =
        edge == PopoverPanel::Edge::Below ? anchor.bottom() + 1 : anchor.top() - size.height();
    return QRect(QPoint(x, y), size);
}

} // namespace

PopoverPanel::PopoverPanel(QWidget* parent) : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_NoMouseReplay);
    setAutoFillBackground(true);
}

void PopoverPanel::showRelativeTo(QWidget* anchor, Edge preferredEdge)
{
    adjustSize();
    if (anchor) {
        // A window of its own takes the application's palette, not that of the window below.
        setPalette(anchor->window()->palette());
        const QRect anchorFrame(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
        const QScreen* screen = anchor->window()->screen();
        move(screen ? placement(size(), anchorFrame, preferredEdge, screen->availableGeometry())
                          .topLeft()
                    : besideAnchor(size(), anchorFrame, preferredEdge).topLeft());
    }
    show();
}

QRect PopoverPanel::placement(QSize size, const QRect& anchor, Edge preferredEdge,
                              const QRect& screen)
{
    const Edge otherEdge = preferredEdge == Edge::Below ? Edge::Above : Edge::Below;
    QRect frame = besideAnchor(size, anchor, preferredEdge);
    if (frame.top() < screen.top() || frame.bottom() > screen.bottom())
        frame = besideAnchor(size, anchor, otherEdge);
    frame.moveLeft(std::clamp(frame.left(), screen.left(),
                              std::max(screen.left(), screen.right() + 1 - size.width())));
    frame.moveTop(std::clamp(frame.top(), screen.top(),
                             std::max(screen.top(), screen.bottom() + 1 - size.height())));
    return frame;
}

} // namespace tolvex
