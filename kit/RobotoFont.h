#pragma once

#include <QFont>
#include <QString>

namespace tolvex {

// The program names its fonts the way font files do ("RobotoCondensed-Bold", "Roboto-Thin");
// fontconfig knows them as a family and a weight. Sizes are in the window's logical pixels, the
// unit every frame of the window uses.
class RobotoFont {
public:
    // The Roboto face called `name` at `size`; an unknown name gives the plain Roboto face.
    static QFont named(const QString& name, qreal size);
};

} // namespace tolvex
