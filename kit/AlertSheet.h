#pragma once

#include "kit/AlertPresenter.h"

#include <QFrame>
#include <QList>

class QBoxLayout;
class QLabel;
class QPushButton;

namespace tolvex {

// An alert drawn as a sheet: a dark panel on the window's own surface, hanging centred under its
// title bar and never wider than the window, with a scalable symbol of its style (or the alert's
// icon), its texts and its buttons, the first one rightmost and the default. While it is up, the
// window below takes no input; "Cancel" also answers Escape. It deletes itself once answered.
class AlertSheet : public QFrame {
    Q_OBJECT

public:
    AlertSheet(const Alert& alert, QWidget* window);
    ~AlertSheet() override;

    // The buttons in the alert's order.
    QList<QPushButton*> buttons() const { return buttons_; }
    QLabel* messageLabel() const { return message_; }
    QLabel* informativeLabel() const { return informative_; }
    void setMessageText(const QString& text);

Q_SIGNALS:
    void answered(int response);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void place();
    void answer(int response);
    void releaseWindow();

    QWidget* window_;
    QLabel* message_;
    QLabel* informative_;
    QBoxLayout* buttonRow_ = nullptr;
    QList<QPushButton*> buttons_;
    QPushButton* cancel_ = nullptr;
    quint64 session_ = 0;
};

} // namespace tolvex
