#pragma once

#include <QStringList>
#include <QWidget>
#include <optional>

class QMimeData;

namespace tolvex {

class DropViewDelegate;

// One shred list's drop target. It takes drags of local files (text/uri-list), checks a lone
// item against the places nothing may be shredded from, and hands accepted drops to its
// delegate. It draws nothing itself: its child views (ring, labels, buttons) make the zone.
class DropView : public QWidget {
    Q_OBJECT

public:
    explicit DropView(QWidget* parent = nullptr);

    DropViewDelegate* delegate() const { return delegate_; }
    void setDelegate(DropViewDelegate* delegate) { delegate_ = delegate; }

    // The list id of the zone: 1, 7 or 35.
    qint64 mDropViewTag() const { return mDropViewTag_; }
    void setMDropViewTag(qint64 tag) { mDropViewTag_ = tag; }

    // The file names a drag carries, cleaned and vetted (Utils::fileNamesOfPasteboard).
    static std::optional<QStringList> fileNames(const QMimeData* pasteboard);

    // Whether a drag of this one item may reach a list: an item below the real home folder but
    // not directly inside it, or below a media mount root. The home folder itself never gets
    // this far: IncomingPath refuses it.
    static bool acceptsSingleItem(const QString& path);

    // The acceptance test of a drop; true when the delegate was handed the drop. The file names
    // are those read when the drag entered, read now only when it never did.
    bool performDragOperation(const QMimeData* pasteboard);

protected:
    void childEvent(QChildEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void draggingExited(const QMimeData* pasteboard);
    void dimWithLabels();

    DropViewDelegate* delegate_ = nullptr;
    // The drag over the zone and its file names, read once as it entered.
    const QMimeData* entered_ = nullptr;
    std::optional<QStringList> enteredFileNames_;
    qint64 mDropViewTag_ = 0;
};

} // namespace tolvex
