#pragma once

#include <QList>
#include <functional>

class QWidget;
struct QMetaObject;

namespace tolvex {

// A range of tags, compared as unsigned values: a tag lies in it when tag >= location and
// tag - location < length.
struct TagRange {
    quint64 location = 0;
    quint64 length = 0;
};

// Enable or disable the controls among the descendants of `view` (never `view` itself). The walk
// is depth first, a view's descendants before the view; containers that are not controls are
// walked through and left as they are. Each variant chooses which controls it touches.
void disableSubviews(QWidget* view, bool disable, const std::function<bool(QWidget*)>& filter);
void disableSubviews(QWidget* view, bool disable);
void disableSubviews(QWidget* view, bool disable, const QMetaObject* ofType);
void disableSubviews(QWidget* view, bool disable, TagRange inTagRange);
// Both ends included; an end below the start wraps the length round to a huge value.
void disableSubviews(QWidget* view, bool disable, qint64 startTag, qint64 endTag);
void disableSubviews(QWidget* view, bool disable, const QList<qint64>& withTags);
void disableSubviews(QWidget* view, bool disable, const QMetaObject* ofType, TagRange inTagRange);
void disableSubviews(QWidget* view, bool disable, const QMetaObject* ofType,
                     const QList<qint64>& withTags);

} // namespace tolvex
