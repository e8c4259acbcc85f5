#pragma once

#include "kit/AlertPresenter.h"

namespace tolvex {

// The sheet that asks which method shreds the files handed over by the desktop: "Cancel",
// then one button per method, a busy method's button disabled.
class MethodChooser {
public:
    static constexpr int cancelResponse = AlertFirstButtonReturn;
    static constexpr int thirtyFivePassResponse = AlertFirstButtonReturn + 1;
    static constexpr int sevenPassResponse = AlertFirstButtonReturn + 2;
    static constexpr int onePassResponse = AlertFirstButtonReturn + 3;

    struct BusyLists {
        bool thirtyFivePass = false;
        bool sevenPass = false;
        bool onePass = false;
    };

    static Alert alert(const QString& messageText, const QString& informativeText, BusyLists busy);
};

} // namespace tolvex
