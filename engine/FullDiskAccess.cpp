#include "engine/FullDiskAccess.h"

namespace tolvex {

SheetAlert fullDiskAccessAlert(const QString& informativeText, const QStringList& otherButtons)
{
    SheetAlert alert;
    alert.messageText = QStringLiteral("User action needed");
    alert.informativeText = informativeText;
    alert.buttons = QStringList{QStringLiteral("Open Full Disk Access Tab")} + otherButtons +
                    QStringList{QStringLiteral("Cancel")};
    alert.style = SheetAlert::Style::Critical;
    return alert;
}

} // namespace tolvex
