#include "kit/Tag.h"

#include <QObject>
#include <QVariant>

namespace tolvex {

namespace {
const char* const kTagProperty = "tag";
}

qint64 tag(const QObject* view)
{
    return view->property(kTagProperty).toLongLong();
}

void setTag(QObject* view, qint64 tag)
{
    view->setProperty(kTagProperty, tag);
}

} // namespace tolvex
