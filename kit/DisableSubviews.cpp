#include "kit/DisableSubviews.h"

#include "kit/Tag.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace tolvex {

namespace {

// The widgets that stand for controls: buttons, sliders, fields, labels, lists and tables.
// Plain views, progress indicators and drawn views are not controls.
bool isControl(const QWidget* view)
{
    return qobject_cast<const QAbstractButton*>(view) ||
           qobject_cast<const QAbstractSlider*>(view) ||
           qobject_cast<const QAbstractSpinBox*>(view) || qobject_cast<const QComboBox*>(view) ||
           qobject_cast<const QLineEdit*>(view) || qobject_cast<const QLabel*>(view) ||
           qobject_cast<const QAbstractItemView*>(view);
}

bool inRange(qint64 tagValue, TagRange range)
{
    const auto value = static_cast<quint64>(tagValue);
    return value >= range.location && value - range.location < range.length;
}

bool isOfType(const QWidget* view, const QMetaObject* type)
{
    return view->metaObject()->inherits(type);
}

} // namespace

void disableSubviews(QWidget* view, bool disable, const std::function<bool(QWidget*)>& filter)
{
    const std::function<bool(QWidget*)> choose = filter ? filter : [](QWidget*) { return true; };
    const auto subviews = view->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* subview : subviews) {
        disableSubviews(subview, disable, choose);
        if (choose(subview) && isControl(subview))
            subview->setEnabled(!disable);
    }
}

void disableSubviews(QWidget* view, bool disable)
{
    disableSubviews(view, disable, std::function<bool(QWidget*)>());
}

void disableSubviews(QWidget* view, bool disable, const QMetaObject* ofType)
{
    disableSubviews(view, disable, [ofType](QWidget* v) { return isOfType(v, ofType); });
}

void disableSubviews(QWidget* view, bool disable, TagRange inTagRange)
{
    disableSubviews(view, disable,
                    [inTagRange](QWidget* v) { return inRange(tag(v), inTagRange); });
}

void disableSubviews(QWidget* view, bool disable, qint64 startTag, qint64 endTag)
{
    const TagRange range{static_cast<quint64>(startTag),
                         static_cast<quint64>(endTag) - static_cast<quint64>(startTag) + 1};
    disableSubviews(view, disable, range);
}

void disableSubviews(QWidget* view, bool disable, const QList<qint64>& withTags)
{
    disableSubviews(view, disable, [&withTags](QWidget* v) { return withTags.contains(tag(v)); });
}

void disableSubviews(QWidget* view, bool disable, const QMetaObject* ofType, TagRange inTagRange)
{
    disableSubviews(view, disable, [ofType, inTagRange](QWidget* v) {
        return isOfType(v, ofType) && inRange(tag(v), inTagRange);
    });
}

void disableSubviews(QWidget* view, bool disable, const QMetaObject* ofType,
                     const QList<qint64>& withTags)
{
    disableSubviews(view, disable, [ofType, &withTags](QWidget* v) {
        return isOfType(v, ofType) && withTags.contains(tag(v));
    });
}

} // namespace tolvex
