#pragma once

#include "kit/HoverUnderlineRow.h"

class QLabel;
class QPushButton;
class QToolButton;

namespace tolvex {

class MFSCustomProgressIndicator;

// One row of the volumes screen: the volume's icon (a click reveals it), its name, its used,
// free and total space, a usage bar and the two erase buttons. Hovering underlines the name.
class volCellView : public HoverUnderlineRow {
    Q_OBJECT

public:
    explicit volCellView(QWidget* parent = nullptr);

    static constexpr int iconSize = 48;

    QLabel* volName = nullptr;
    QLabel* volUsedLbl = nullptr;
    QLabel* volAvailLbl = nullptr;
    QLabel* volTotalSpace = nullptr;
    QLabel* volAvailSpace = nullptr;
    QLabel* volOccupSpace = nullptr;
    QToolButton* diskIconBtn = nullptr;
    QPushButton* eraseFreeSpaceBtn = nullptr;
    QPushButton* eraseAndFormatBtn = nullptr;
    MFSCustomProgressIndicator* volSpaceIndicator = nullptr;
};

} // namespace tolvex
