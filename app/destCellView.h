#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tolvex {

// One row of the shred-list editor: the item's icon, name and method, a remove button and a
// reveal button. Hovering underlines the name.
class destCellView : public QWidget {
    Q_OBJECT

public:
    explicit destCellView(QWidget* parent = nullptr);

    // The side of the item's icon.
    static constexpr int iconSize = 28;

    // When set, hovering changes nothing.
    bool inactive = false;

    QPushButton* deleteDestBtn = nullptr;
    QPushButton* revealBtn = nullptr;
    QLabel* detailTextField = nullptr;
    QLabel* destIcon = nullptr;
    QLabel* textField = nullptr;

    bool mouseInside() const { return mouseInside_; }
    void setMouseInside(bool inside);

    void mouseEntered();
    void mouseExited();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void showHover(bool inside);

    bool mouseInside_ = false;
};

} // namespace tolvex
