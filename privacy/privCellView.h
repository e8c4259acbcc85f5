#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tolvex {

// One browser row of the privacy results: the browser's icon (a button that cleans both its
// history and cookies), its name, what its history and cookies hold, and a clean button for
// each. Hovering underlines the name.
class privCellView : public QWidget {
    Q_OBJECT

public:
    explicit privCellView(QWidget* parent = nullptr);

    // The side of the browser's icon.
    static constexpr int iconSize = 44;

    // When set, hovering changes nothing.
    bool inactive = false;

    QLabel* brwNameLbl = nullptr;
    QLabel* brwHistoryInfoLbl = nullptr;
    QLabel* brwCookiesInfoLbl = nullptr;
    QPushButton* brwIconBtn = nullptr;
    QPushButton* cleanBrowsingHistoryBtn = nullptr;
    QPushButton* cleanCookiesBtn = nullptr;

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
