#pragma once

#include <QFrame>
#include <QList>

namespace tolvex {

// A popover: a small panel that pops up beside a control, with an arrow pointing at it, in the
// palette of the control's window, and closes at a click anywhere else (a click on the control
// that closes it does not open it again). It always lies wholly on the screen that holds the
// control's window: near a screen edge it slides along the edge, and it goes to the other side
// of the control when its preferred side has no room. Where that side would cover the controls
// beside its own, it takes another side of the control that leaves them readable, if any.
class PopoverPanel : public QFrame {
    Q_OBJECT

public:
    // The side of the control the popover stands on.
    enum class Edge { Below, Above, Right, Left };

    struct Placement {
        QRect frame;
        Edge edge;
    };

    explicit PopoverPanel(QWidget* parent = nullptr);

    // Shows the popover centred on `anchor`, on its preferred side.
    void showRelativeTo(QWidget* anchor, Edge preferredEdge);

    // The side of the anchor the popover was last shown on, and where its arrow's tip is.
    Edge edge() const { return edge_; }
    QPoint arrowTip() const;

    // Where a popover whose body has `size` goes beside `anchor` (all in screen coordinates), its
    // arrow included, so that it lies within `screen`, clear of `obstacles` where a side allows.
    static Placement placement(QSize size, const QRect& anchor, Edge preferredEdge,
                               const QRect& screen, const QList<QRect>& obstacles = {});

    static constexpr int kArrowHeight = 8;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPainterPath shape() const;
    bool isSideways() const { return edge_ == Edge::Right || edge_ == Edge::Left; }

    Edge edge_ = Edge::Below;
    // Where the arrow stands along the side that carries it.
    int arrowAt_ = 0;
};

} // namespace tolvex
