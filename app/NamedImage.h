#pragma once

#include <QIcon>
#include <QString>

class QAbstractButton;

namespace tolvex {

// The program's images by name ("AddNew", "reveal", ...), from the artwork in the resources. A
// button remembers the name of the image it shows, which is how the window's state is read back.
class NamedImage {
public:
    static QIcon icon(const QString& name);
    static void setImage(QAbstractButton* button, const QString& name);
    static QString imageName(const QAbstractButton* button);
};

} // namespace tolvex
