#pragma once

#include <QLabel>

namespace tolvex {

// A one-line label that shortens its text in the middle, with an ellipsis, when its rectangle is
// too narrow; text() keeps the whole text.
class ElidingLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tolvex
