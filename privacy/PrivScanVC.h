#pragma once

#include "kit/ViewController.h"
#include "privacy/PrivInfoDic.h"

#include <QList>
#include <functional>
#include <optional>

class QCheckBox;
class QListWidget;

namespace tolvex {

class privCellView;

// The privacy results of the horizontal window layout: one row per browser of a scan. It cleans
// nothing itself: each button hands its row (found by the button's tag) to actionWithIndex or
// cleanUpAllComplAction.
class PrivScanVC : public ViewController {
    Q_OBJECT

public:
    explicit PrivScanVC(QObject* parent = nullptr);

    // A row's button, or the close button (tag 777, no record).
    std::function<void(qint64 tag, const std::optional<PrivInfoDic>& record, qint64 checkboxState,
                       bool cookies, bool history)>
        actionWithIndex;
    // The clean-all button, with every row.
    std::function<void(qint64 tag, const QList<PrivInfoDic>& rows, qint64 checkboxState)>
        cleanUpAllComplAction;

    QListWidget* privTablView = nullptr;
    QCheckBox* shouldSecurelyEraseItemsCheck = nullptr;

    // The browsers of the last scan; setting them fills the table.
    const QList<PrivInfoDic>& browserDicsArr() const { return browserDicsArr_; }
    void setBrowserDicsArr(const QList<PrivInfoDic>& records);
    // The rows, in the order of browserDicsArr, so that a row's tag is its index there.
    const QList<PrivInfoDic>& arrangedObjects() const { return browserDicsArr_; }

    privCellView* tableViewViewForTableColumn(qsizetype row);
    virtual double tableViewHeightOfRow() const;

    void eraseBothHistoryAndCookies(QObject* sender);
    void eraseCookiesOnly(QObject* sender);
    void eraseHistoryOnly(QObject* sender);
    void cleanUpAllDataInAllBrowsers(QObject* sender);
    void closeFreeSpaceVC(QObject* sender);
    void diskEditorInfoAction(QObject* sender);

    // The image of a browser that is not installed, by its name; nothing for another name.
    static std::optional<QString> imageNameForBrowser(const QString& name);
    static const QString contextHelp;

private:
    void reloadData();
    void sendRowAction(QObject* sender, bool cookies, bool history);
    qint64 checkboxState() const;

    QList<PrivInfoDic> browserDicsArr_;
};

// The privacy results of the vertical layout: taller rows.
class PrivScanVC_vert : public PrivScanVC {
    Q_OBJECT

public:
    explicit PrivScanVC_vert(QObject* parent = nullptr);

    double tableViewHeightOfRow() const override;
};

} // namespace tolvex
