#pragma once

#include <QWidget>

class QLabel;

namespace tolvex {

// A table row whose main label is underlined while the pointer is over the row.
class HoverUnderlineRow : public QWidget {
    Q_OBJECT

public:
    explicit HoverUnderlineRow(QWidget* parent = nullptr);

    // When set, hovering changes nothing.
    bool inactive = false;

    bool mouseInside() const { return mouseInside_; }
    void setMouseInside(bool inside);

    void mouseEntered();
    void mouseExited();

protected:
    // The label that hovering underlines; set by the row that makes it.
    void setUnderlinedLabel(QLabel* label) { underlinedLabel_ = label; }

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void showHover(bool inside);

    QLabel* underlinedLabel_ = nullptr;
    bool mouseInside_ = false;
};

} // namespace tolvex
