#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace tolvex {

// An alert shown as a sheet on the main window. The first button answers 1000, the second
// 1001, and so on.
struct SheetAlert {
    enum class Style { Warning, Informational, Critical };

    QString messageText;
    QString informativeText;
    QStringList buttons;
    Style style = Style::Warning;
    // When set, the icon of this file stands in place of the style's icon.
    QString iconFilePath = {};
};

inline constexpr int kAlertFirstButtonReturn = 1000;

// Shows sheets; a test answers them in advance. Main thread only.
class SheetPresenter {
public:
    virtual ~SheetPresenter() = default;
    virtual void beginSheetModal(const SheetAlert& alert,
                                 std::function<void(int response)> completionHandler) = 0;
};

} // namespace tolvex
