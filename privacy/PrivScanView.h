#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tolvex {

class BarProgressIndicator;

// The privacy progress view of the main window: what a scan or a clean-up is doing, its bar and
// its percentage. It stands in the start button's place while it is shown.
class PrivScanView : public QWidget {
    Q_OBJECT

public:
    explicit PrivScanView(QWidget* parent = nullptr);

    BarProgressIndicator* privacyScanEraseProgIndic = nullptr;
    QLabel* privScanStatusLbl = nullptr;
    QLabel* privScanNameLbl = nullptr;
    QPushButton* privScanStopBtn = nullptr;
};

} // namespace tolvex
