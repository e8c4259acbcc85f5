#pragma once

#include <QWidget>

namespace tolvex {

// A translucent surface standing in for a vibrant material: what lies behind it shows through
// faintly, and its palette follows the material. With a corner radius it is a rounded panel
// whose corners blend smoothly into what lies behind.
class VisualEffectView : public QWidget {
    Q_OBJECT

public:
    enum class Material { AppearanceBased = 0, Light = 1, Dark = 2 };

    explicit VisualEffectView(QWidget* parent = nullptr);

    Material material() const { return material_; }
    void setMaterial(Material material);

    // The colour the surface is painted with.
    QColor surfaceColor() const;

    qreal cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(qreal radius);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Fills the surface's shape, rounded as set, with `brush`.
    void fillSurface(const QBrush& brush);

private:
    Material material_ = Material::AppearanceBased;
    qreal cornerRadius_ = 0.0;
};

} // namespace tolvex
