#pragma once

#include <QFrame>

class QAbstractButton;

namespace tolvex {

// The choice of method for Secure Empty Trash: a popup under the trash button with one button
// per method, each carrying its list id. A click anywhere else closes it, and a click on the
// trash button that closes it does not open it again.
class SecureTrashPopover : public QFrame {
    Q_OBJECT

public:
    explicit SecureTrashPopover(QWidget* parent = nullptr);

    // Shows the popup below `anchor`, centred on it.
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
