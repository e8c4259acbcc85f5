#include "kit/Autoresizing.h"

#include <QEvent>
#include <QWidget>

namespace tolvex {

namespace {

const char* const kMarginsProperty = "tolvexAutoresizingMargins";
constexpr QLatin1StringView kWatcherName("tolvexAutoresizingWatcher");

// Watches one parent and resizes its flagged children with it.
class AutoresizingWatcher : public QObject {
public:
    explicit AutoresizingWatcher(QWidget* parent) : QObject(parent)
    {
        setObjectName(kWatcherName);
        parent->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && watched == parent())
            resizeFollowers(static_cast<QWidget*>(watched));
        return false;
    }

private:
    static void resizeFollowers(QWidget* parent)
    {
        const auto children = parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget* child : children) {
            const QVariant margins = child->property(kMarginsProperty);
            if (!margins.isValid())
                continue;
            const QSize rightAndBottom = margins.toSize();
            child->resize(parent->width() - child->x() - rightAndBottom.width(),
                          parent->height() - child->y() - rightAndBottom.height());
        }
    }
};

} // namespace

void setAutoresizesWidthAndHeight(QWidget* view)
{
    QWidget* parent = view->parentWidget();
    if (!parent)
        return;
    const QRect frame = view->geometry();
    view->setProperty(kMarginsProperty, QSize(parent->width() - frame.x() - frame.width(),
                                              parent->height() - frame.y() - frame.height()));
    if (!parent->findChild<QObject*>(kWatcherName, Qt::FindDirectChildrenOnly))
        new AutoresizingWatcher(parent);
}

} // namespace tolvex
