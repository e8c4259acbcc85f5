#include "kit/VisualEffectView.h"

#include "kit/Appearance.h"

#include <QPainter>
#include <QPainterPath>

namespace tolvex {

namespace {
constexpr int kSurfaceAlpha = 235;
const QColor kDarkSurface(30, 30, 32, kSurfaceAlpha);
const QColor kLightSurface(236, 236, 236, kSurfaceAlpha);
} // namespace

VisualEffectView::VisualEffectView(QWidget* parent) : QWidget(parent) {}

void VisualEffectView::setMaterial(Material material)
{
    material_ = material;
    if (material == Material::Dark)
        applyAppearance(this, Appearance::VibrantDark);
    else if (material == Material::Light)
        applyAppearance(this, Appearance::VibrantLight);
    update();
}

QColor VisualEffectView::surfaceColor() const
{
    switch (material_) {
    case Material::Dark:
        return kDarkSurface;
    case Material::Light:
        return kLightSurface;
    case Material::AppearanceBased:
        break;
    }
    return palette().color(QPalette::Window).lightness() < 128 ? kDarkSurface : kLightSurface;
}

void VisualEffectView::setCornerRadius(qreal radius)
{
    cornerRadius_ = radius;
    update();
}

void VisualEffectView::paintEvent(QPaintEvent*)
{
    fillSurface(surfaceColor());
}

void VisualEffectView::fillSurface(const QBrush& brush)
{
    QPainter painter(this);
    if (cornerRadius_ <= 0.0) {
        painter.fillRect(rect(), brush);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius_, cornerRadius_);
    painter.fillPath(shape, brush);
}

} // namespace tolvex
