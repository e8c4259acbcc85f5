#include "app/MethodChooser.h"

namespace tolvex {

Alert MethodChooser::alert(const QString& messageText, const QString& informativeText,
                           BusyLists busy)
{
    Alert chooser{messageText,
                  informativeText,
                  {QStringLiteral("Cancel"), QStringLiteral("35-pass"), QStringLiteral("7-pass"),
                   QStringLiteral("1-pass")},
                  AlertStyle::Informational,
                  {}};
    const std::pair<int, bool> methods[] = {{thirtyFivePassResponse, busy.thirtyFivePass},
                                            {sevenPassResponse, busy.sevenPass},
                                            {onePassResponse, busy.onePass}};
    for (const auto& [response, isBusy] : methods) {
        if (isBusy) {
            chooser.disabledButtons.insert(response - AlertFirstButtonReturn);
        }
    }
    return chooser;
}

} // namespace tolvex
