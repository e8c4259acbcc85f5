#pragma once

#include "kit/PopoverPanel.h"

class QAbstractButton;

namespace tolvex {

// The choice of method for Secure Empty Trash: a popover under the trash button with one button
// per method, each carrying its list id.
class SecureTrashPopover : public PopoverPanel {
    Q_OBJECT

public:
    explicit SecureTrashPopover(QWidget* parent = nullptr);

    // Shows the popover below `anchor`, centred on it.
    void showRelativeTo(QWidget* anchor);

    // The pass button of list `listId`, or null.
    QAbstractButton* passButton(qint64 listId) const;

Q_SIGNALS:
    // A pass button was pressed; `sender` carries the list id as its tag.
    void passChosen(QObject* sender);

private:
    QList<QAbstractButton*> passButtons_;
};

} // namespace tolvex
