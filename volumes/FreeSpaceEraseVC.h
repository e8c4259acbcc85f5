#pragma once

#include "kit/ViewController.h"
#include "volumes/VolDic.h"

#include <functional>
#include <optional>

class QLabel;
class QListWidget;

namespace tolvex {

class MountMonitor;

// The volumes screen: one row per mounted writable volume, kept current as volumes come and go,
// whether the screen is shown or not. It acts on nothing itself: every button press goes to
// actionWithIndex with the row's tag and volume.
class FreeSpaceEraseVC : public ViewController {
    Q_OBJECT

public:
    static constexpr qint64 closeTag = 777;
    static constexpr double rowHeight = 80.0;

    // `supportMail` is the address the context help names.
    explicit FreeSpaceEraseVC(QString supportMail, QObject* parent = nullptr);
    ~FreeSpaceEraseVC() override;

    // (tag, the row's volume or nothing for the close button, eraseFreeSpace, reveal)
    std::function<void(qint64 tag, const std::optional<VolDic>& volume, bool eraseFreeSpace,
                       bool reveal)>
        actionWithIndex;

    QListWidget* volsTablView = nullptr;

    const VolDics& volsDicsArr() const { return volsDicsArr_; }
    // The table follows the list at once.
    void setVolsDicsArr(const VolDics& volumes);
    // The rows, in the order of volsDicsArr, so that a row's tag is its index there.
    const VolDics& arrangedObjects() const { return volsDicsArr_; }

    void monitorVolumesConnDisconn();
    void volumesChanged();

    void revealVolume(QObject* sender);
    void eraseFreeSpaceAction(QObject* sender);
    void eraseNformatAction(QObject* sender);
    void closeFreeSpaceVC(QObject* sender);
    void diskEditorInfoAction(QWidget* sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString contextHelpText() const;
    void reloadData();
    void fitRowsToWidth();
    void sendRowAction(QObject* sender, bool eraseFreeSpace, bool reveal);

    QString supportMail_;
    VolDics volsDicsArr_;
    MountMonitor* mountMonitor_ = nullptr;
};

} // namespace tolvex
