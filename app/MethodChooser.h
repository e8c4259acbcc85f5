#pragma once

#include <QString>
#include <functional>

class QMessageBox;
class QWidget;

namespace tolvex {

// The sheet that asks which method shreds the files handed over by the desktop: "Cancel",
// then one button per method, a busy method's button disabled.
class MethodChooser {
public:
    static constexpr int cancelResponse = 1000;
    static constexpr int thirtyFivePassResponse = 1001;
    static constexpr int sevenPassResponse = 1002;
    static constexpr int onePassResponse = 1003;

    struct BusyLists {
        bool thirtyFivePass = false;
        bool sevenPass = false;
        bool onePass = false;
    };

    // The alert, ready to be shown as a sheet; its buttons answer 1000 upwards in their order.
    static QMessageBox* alert(QWidget* window, const QString& messageText,
                              const QString& informativeText, BusyLists busy);

    // The answer of a closed alert: 1000 plus the position of the button pressed.
    static int responseOf(const QMessageBox& alert);
};

} // namespace tolvex
