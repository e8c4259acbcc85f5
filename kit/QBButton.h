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

    QBButtonCell& cell() { return m_cell; }
    const QBButtonCell& cell() const { return m_cell; }

    qreal cornerRadius() const { return m_cell.cornerRadius(); }
    void setCornerRadius(qreal radius) { m_cell.setCornerRadius(radius); }
    QColor backgroundColor() const { return m_cell.background(); }
    void setBackgroundColor(const QColor& color) { m_cell.setBackground(color); }
    QColor highlightColor() const { return m_cell.highlightColor(); }
    void setHighlightColor(const QColor& color) { m_cell.setHighlightColor(color); }
    QColor textColor() const { return m_cell.textColor(); }
    void setTextColor(const QColor& color) { m_cell.setTextColor(color); }
    QColor highlightTextColor() const { return m_cell.highlightTextColor(); }
    void setHighlightTextColor(const QColor& color) { m_cell.setHighlightTextColor(color); }
    QMarginsF padding() const { return m_cell.padding(); }
    void setPadding(const QMarginsF& padding) { m_cell.setPadding(padding); }

    // Whether the title is drawn with subpixel antialiasing and unhinted glyph positions.
    bool subpixelAntialiasing() const { return m_subpixelAntialiasing; }
    void setSubpixelAntialiasing(bool on) { m_subpixelAntialiasing = on; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QBButtonCell m_cell{*this};
    bool m_subpixelAntialiasing = true;
};

} // namespace tolvex
