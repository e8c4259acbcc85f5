#pragma once

#include <QWidget>

namespace tolvex {

// The promotion window for Harlight, another product of the maker. Ready for a road to it;
// nothing in the application opens it yet.
class HLwc : public QWidget {
    Q_OBJECT

public:
    explicit HLwc(QWidget* parent = nullptr);

    void learnMoreAction();
    void openAppMASFromPageSlide();
    void openURLWithWorkspaceFromPath(const QString& path);
};

} // namespace tolvex
