#include "kit/Images.h"

#include <QFile>

namespace tolvex {

QIcon imageNamed(const QString& name)
{
    const QString base = QStringLiteral(":/images/") + name;
    for (const QString& candidate :
         {base, base + QStringLiteral(".svg"), base + QStringLiteral(".png")})
        if (QFile::exists(candidate))
            return QIcon(candidate);
    return {};
}

} // namespace tolvex
