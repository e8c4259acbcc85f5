#pragma once

#include <QWidget>

namespace tolvex {

// A translucent surface standing in for a vibrant material: what lies behind it shows through
// faintly, and its palette follows the material.
class VisualEffectView : public QWidget {
    Q_OBJECT

public:
    enum class Material { AppearanceBased = 0, Light = 1, Dark = 2 };

    explicit VisualEffectView(QWidget* parent = nullptr);

    Material material() const { return material_; }
    void setMaterial(Material material);

    // The colour the surface is painted with.
    QColor surfaceColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Material material_ = Material::AppearanceBased;
};

} // namespace tolvex
