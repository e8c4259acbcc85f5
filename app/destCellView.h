#pragma once

#include "kit/HoverUnderlineRow.h"

class QLabel;
class QPushButton;

namespace tolvex {

// One row of the shred-list editor: the item's icon, name and method, a remove button and a
// reveal button. Hovering underlines the name.
class destCellView : public HoverUnderlineRow {
    Q_OBJECT

public:
    explicit destCellView(QWidget* parent = nullptr);

    // The side of the item's icon.
    static constexpr int iconSize = 28;

    QPushButton* deleteDestBtn = nullptr;
    QPushButton* revealBtn = nullptr;
    QLabel* detailTextField = nullptr;
    QLabel* destIcon = nullptr;
    QLabel* textField = nullptr;
};

} // namespace tolvex
