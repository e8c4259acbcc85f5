#pragma once

#include <QtGlobal>

class QWidget;

namespace tolvex {

class DropView;

// What file intake needs of the main window besides the zone looks: the hover look, the drop
// zones by list id and the window that sheets and panels belong to. AppDelegate implements it.
class FileIntakeHost {
public:
    virtual ~FileIntakeHost() = default;

    virtual void dragEnteredStateForPassViewWithTag(qint64 tag) = 0;
    // The drop zone of list `tag`; null for another id.
    virtual DropView* dropViewForTag(qint64 tag) = 0;
    virtual QWidget* mainWindow() = 0;
};

} // namespace tolvex
