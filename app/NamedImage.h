#pragma once

#include <QString>

class QAbstractButton;

namespace tolvex {

// A button showing one of the program's images by name ("AddNew", "reveal", ...) remembers the
// name, which is how the window's state is read back.
class NamedImage {
public:
    static void setImage(QAbstractButton* button, const QString& name);
    static QString imageName(const QAbstractButton* button);
};

} // namespace tolvex
