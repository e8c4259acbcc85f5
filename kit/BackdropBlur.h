#pragma once

#include <QList>
#include <QPointer>
#include <QRect>

class QWidget;

namespace tolvex {

// Blurs what a window shows under a surface laid over it, so that the surface reads as frosted
// glass: nothing beneath stays legible, while its colours and shapes still show. The views keep
// drawing live under the blur, and get their own look back when this goes.
class BackdropBlur {
public:
    static constexpr qreal kRadius = 14.0;

    // Blurs the children of `window` stacked under `surface` that meet `area` (in the window's
    // coordinates). Views that already carry an effect of their own are left as they are.
    BackdropBlur(QWidget* window, QWidget* surface, const QRect& area);
    ~BackdropBlur();

    BackdropBlur(const BackdropBlur&) = delete;
    BackdropBlur& operator=(const BackdropBlur&) = delete;

    QList<QPointer<QWidget>> blurredViews() const { return blurred_; }

private:
    QList<QPointer<QWidget>> blurred_;
};

} // namespace tolvex
