#pragma once

#include "kit/HoverUnderlineRow.h"

class QLabel;
class QPushButton;

namespace tolvex {

// One browser row of the privacy results: the browser's icon (a button that cleans both its
// history and cookies), its name, what its history and cookies hold, and a clean button for
// each. Hovering underlines the name.
class privCellView : public HoverUnderlineRow {
    Q_OBJECT

public:
    explicit privCellView(QWidget* parent = nullptr);

    // The side of the browser's icon.
    static constexpr int iconSize = 44;

    QLabel* brwNameLbl = nullptr;
    QLabel* brwHistoryInfoLbl = nullptr;
    QLabel* brwCookiesInfoLbl = nullptr;
    QPushButton* brwIconBtn = nullptr;
    QPushButton* cleanBrowsingHistoryBtn = nullptr;
    QPushButton* cleanCookiesBtn = nullptr;
};

} // namespace tolvex
