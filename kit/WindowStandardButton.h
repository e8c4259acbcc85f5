#pragma once

#include <QAbstractButton>

namespace tolvex {

// One of the three round title-bar buttons: red close, yellow minimise, green zoom. The mark of
// what it does shows while the mouse is over it. In a window that is not the active one, and
// while disabled, the button is grey.
class WindowStandardButton : public QAbstractButton {
    Q_OBJECT

public:
    enum class Kind { Close, Miniaturize, Zoom };

    static constexpr int kSize = 14;

    explicit WindowStandardButton(Kind kind, QWidget* parent = nullptr);

    Kind kind() const { return kind_; }
    QSize sizeHint() const override { return {kSize, kSize}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Kind kind_;
};

} // namespace tolvex
