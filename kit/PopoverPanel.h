#pragma once

#include <QFrame>

namespace tolvex {

// A popover: a small panel that pops up beside a control, in the palette of the control's
// window, and closes at a click anywhere else (a click on the control that closes it does not
// open it again). It always lies wholly on the screen that holds the control's window: near a
// screen edge it slides along the edge, and it goes to the other side of the control when its
// preferred side has no room.
class PopoverPanel : public QFrame {
    Q_OBJECT

public:
    enum class Edge { Below, Above };

    explicit PopoverPanel(QWidget* parent = nullptr);

    // Shows the popover centred on `anchor`, on its preferred side.
    void showRelativeTo(QWidget* anchor, Edge preferredEdge);

    // Where a popover of `size` goes beside `anchor` (both in screen coordinates) so that it
    // lies within `screen`.
    static QRect placement(QSize size, const QRect& anchor, Edge preferredEdge,
                           const QRect& screen);
};

} // namespace tolvex
