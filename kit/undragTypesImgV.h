#pragma once

#include "kit/ImageView.h"

namespace tolvex {

// A decorative image that never takes the mouse or the focus: without subviews, clicks pass to
// whatever lies behind it; with subviews, the mouse goes to the first one wherever it is.
class undragTypesImgV : public ImageView {
    Q_OBJECT

public:
    explicit undragTypesImgV(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    QWidget* firstSubview() const;
    void updateMouseTransparency();
};

} // namespace tolvex
