#pragma once

#include "kit/HoverUnderlineRow.h"

class QBoxLayout;
class QGridLayout;
class QLabel;
class QPushButton;
class QToolButton;

namespace tolvex {

class MFSCustomProgressIndicator;

// One row of the volumes screen: the volume's icon (a click reveals it), its name, its used,
// free and total space, a usage bar and the two erase buttons. Hovering underlines the name.
// In a narrow window the buttons move below the figures, so that no text is cut.
class volCellView : public HoverUnderlineRow {
    Q_OBJECT

public:
    explicit volCellView(QWidget* parent = nullptr);

    // Takes the widest arrangement whose texts all fit in `width`, the narrowest when none does.
    void fitWidth(int width);

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

private:
    QBoxLayout* row_ = nullptr;
    QGridLayout* sizes_ = nullptr;
    QBoxLayout* buttons_ = nullptr;
};

} // namespace tolvex
