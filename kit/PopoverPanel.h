#pragma once

#include <QFrame>
#include <QList>

namespace tolvex {

// A popover: a small panel that pops up beside a control, with an arrow pointing at it, in the
// palette of the control's window, and closes at a click anywhere else (a click on the control
// that closes it does not open it again). It always lies wholly on the screen that holds the
// control's window: near a screen edge it slides along the edge, and it goes to the other side
// of the control when its preferred side has no room or would cover the controls beside its own.
class PopoverPanel : public QFrame {
    Q_OBJECT

public:
    enum class Edge { Below, Above };

    explicit PopoverPanel(QWidget* parent = nullptr);

    // Shows the popover centred on `anchor`, on its preferred side.
    void showRelativeTo(QWidget* anchor, Edge preferredEdge);

    // The side of the anchor the popover was last shown on, and where its arrow's tip is.
    Edge edge() const { return edge_; }
    QPoint arrowTip() const;

    // Where a popover of `size` goes beside `anchor` (all in screen coordinates) so that it lies
    // within `screen`, clear of `obstacles` where one side allows.
    static QRect placement(QSize size, const QRect& anchor, Edge preferredEdge, const QRect& screen,
                           const QList<QRect>& obstacles = {});

    static constexpr int kArrowHeight = 8;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPainterPath shape() const;

    Edge edge_ = Edge::Below;
    int arrowX_ = 0;
};

} // namespace tolvex
