#pragma once

#include "QBButtonCell.h"

#include <QPushButton>

namespace tolvex {

// A flat button for dark translucent surfaces (see QBButtonCell for its looks). The colour,
// radius and padding properties are the cell's; none of their setters redraws the button.
// Clicks, title and shortcut are those of any QPushButton.
class QBButton : public QPushButton {
    Q_OBJECT

public:
    explicit QBButton(QWidget* parent = nullptr);
    // A button whose pressed overlay and pressed title colour are `highlightColor`.
    explicit QBButton(const QColor& highlightColor, QWidget* parent = nullptr);

    QBButtonCell& cell() { return cell_; }
    const QBButtonCell& cell() const { return cell_; }

    qreal cornerRadius() const { return cell_.cornerRadius(); }
    void setCornerRadius(qreal radius) { cell_.setCornerRadius(radius); }
    QColor backgroundColor() const { return cell_.background(); }
    void setBackgroundColor(const QColor& color) { cell_.setBackground(color); }
    QColor highlightColor() const { return cell_.highlightColor(); }
    void setHighlightColor(const QColor& color) { cell_.setHighlightColor(color); }
    QColor textColor() const { return cell_.textColor(); }
    void setTextColor(const QColor& color) { cell_.setTextColor(color); }
    QColor highlightTextColor() const { return cell_.highlightTextColor(); }
    void setHighlightTextColor(const QColor& color) { cell_.setHighlightTextColor(color); }
    QMarginsF padding() const { return cell_.padding(); }
    void setPadding(const QMarginsF& padding) { cell_.setPadding(padding); }

    // Whether the title is drawn with subpixel antialiasing and unhinted glyph positions.
    bool subpixelAntialiasing() const { return subpixelAntialiasing_; }
    void setSubpixelAntialiasing(bool on) { subpixelAntialiasing_ = on; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QBButtonCell cell_{*this};
    bool subpixelAntialiasing_ = true;
};

} // namespace tolvex
