#include "app/MethodChooser.h"

#include <QMessageBox>
#include <QPushButton>

namespace tolvex {

QMessageBox* MethodChooser::alert(QWidget* window, const QString& messageText,
                                  const QString& informativeText, BusyLists busy)
{
    auto* box = new QMessageBox(QMessageBox::Information, QString(), messageText,
                                QMessageBox::NoButton, window);
    box->setObjectName(QStringLiteral("MethodChooser"));
    box->setInformativeText(informativeText);
    const struct {
        const char* title;
        bool busy;
    } buttons[] = {{"Cancel", false},
                   {"35-pass", busy.thirtyFivePass},
                   {"7-pass", busy.sevenPass},
                   {"1-pass", busy.onePass}};
    // One role for all keeps the buttons in this order on every desktop.
    for (const auto& entry : buttons) {
        QPushButton* button =
            box->addButton(QString::fromLatin1(entry.title), QMessageBox::ActionRole);
        button->setEnabled(!entry.busy);
    }
    box->setEscapeButton(box->buttons().first());
    return box;
}

int MethodChooser::responseOf(const QMessageBox& alert)
{
    const qsizetype position = alert.buttons().indexOf(alert.clickedButton());
    return position < 0 ? cancelResponse : cancelResponse + int(position);
}

} // namespace tolvex
