#pragma once

#include <QtGlobal>

class QObject;

namespace tolvex {

// A view's tag: a number that identifies it to its owner (a list id, a screen's close button).
// It is the object's "tag" property, so a class may declare that property itself; unset reads 0.
qint64 tag(const QObject* view);
void setTag(QObject* view, qint64 tag);

} // namespace tolvex
