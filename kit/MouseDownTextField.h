#pragma once

#include <QLabel>

namespace tolvex {

class MouseDownTextField;

class MouseDownTextFieldDelegate {
public:
    virtual ~MouseDownTextFieldDelegate() = default;
    virtual void mouseDownTextFieldClicked(MouseDownTextField* field) = 0;
};

// The clickable label: every mouse press goes to the delegate (never to selection or editing),
// the pointing-hand cursor shows over it, and its text is double underlined while the mouse is
// inside.
class MouseDownTextField : public QLabel {
    Q_OBJECT

public:
    enum class UnderlineStyle { None = 0, Single = 1, Double = 9 };

    explicit MouseDownTextField(QWidget* parent = nullptr);

    // Not owned.
    MouseDownTextFieldDelegate* delegate() const { return delegate_; }
    void setDelegate(MouseDownTextFieldDelegate* delegate) { delegate_ = delegate; }
    bool clickable() const { return clickable_; }
    void setClickable(bool clickable) { clickable_ = clickable; }

    // The underline of the whole text: a single underline is the font's own, a double one is
    // drawn under the text.
    UnderlineStyle underlineStyle() const;
    void setUnderlineStyle(UnderlineStyle style);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    MouseDownTextFieldDelegate* delegate_ = nullptr;
    bool clickable_ = false;
    bool doubleUnderline_ = false;
};

} // namespace tolvex
