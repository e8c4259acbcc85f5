#pragma once

#include <QWidget>

class QLabel;

namespace tolvex {

// A table row whose text field is underlined while the mouse is over the row.
class HoverCellView : public QWidget {
    Q_OBJECT

public:
    explicit HoverCellView(QWidget* parent = nullptr);

    // When set, hovering changes nothing.
    bool inactive = false;

    bool mouseInside() const { return mouseInside_; }
    void setMouseInside(bool inside);

    void mouseEntered();
    void mouseExited();

protected:
    // The label the hover underlines.
    virtual QLabel* hoverTextField() const = 0;

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void showHover(bool inside);

    bool mouseInside_ = false;
};

} // namespace tolvex
