#include "privacy/PrivacyCleaner.h"

#include "engine/HudAlert.h"
#include "engine/SheetPresenter.h"
#include "platform/GlobalQueue.h"
#include "platform/HomeFolder.h"
#include "platform/MainQueue.h"
#include "platform/NativePath.h"
#include "privacy/Browsers.h"
#include "privacy/FirefoxProfiles.h"
#include "privacy/PrivacyLog.h"
#include "privacy/PrivacyLooks.h"
#include "privacy/StoreItem.h"
#include "privacy/UtilsDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace tolvex {

namespace {

const QString kCleaningHistory = QStringLiteral("Cleaning History Data...");
const QString kCleaningCookies = QStringLiteral("Cleaning Cookie Data...");
const QString kCleanUpComplete = QStringLiteral("Clean up Complete!");
const QString kCleanUpIncomplete = QStringLiteral("%1 could not be cleaned up completely");
const QString kItemsLeft = QStringLiteral("These items were left:\n\n%1");
const QString kItemLeft = QStringLiteral("%1 (%2)");
const QString kOK = QStringLiteral("OK");

// The bar's value after `removed` of `total`: a total of 0 counts as all done.
double percentOf(double removed, double total)
{
    return total == 0.0 ? 100.0 : removed * 100.0 / total;
}

// The status text after `removed` of `total` items, e.g. "33 %".
QString percentText(double removed, double total)
{
    return QStringLiteral("%1 %").arg(std::lroundf(float(percentOf(removed, total))));
}

QString itemLeft(const QString& path, const QString& reason)
{
    return kItemLeft.arg(readablePath(path), reason);
}

// Firefox reads a places database with only some of these tables emptied as damaged, so they
// go together or not at all.
std::error_code emptyFirefoxHistory(const QString& places)
{
    QList<Utils::TableEmptying> tables;
    for (const auto& [table, keptRows] : FirefoxProfiles::placesHistoryTables(places))
        tables.append({table, keptRows});
    return Utils::emptyTablesInDBFilePath(places, tables);
}

// Whether the item's folder lets it be removed.
bool isDeletableFileAtPath(const QString& path)
{
    return QFileInfo(QFileInfo(path).absolutePath()).isWritable();
}

// The folders a clean-up never removes: the home folder and every folder that holds one of the
// browser's stores (its profile and the folders above it).
QStringList keptFolders(const PrivInfoDic& record)
{
    QStringList folders;
    if (const std::optional<QString> home = HomeFolder::realHomeFolder())
        folders << QDir::cleanPath(*home);
    for (const PrivFileDic& row : record.kBrowserPrivData)
        folders << QFileInfo(QDir::cleanPath(row.kBrowserFilePath)).path();
    return folders;
}

bool isSameOrInside(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

// Only an absolute path that is no kept folder: an entry that names no file (Firefox's kept
// places database) would otherwise be looked up in the working folder.
bool mayRemove(const QString& path, const QStringList& keptFolders)
{
    if (!QDir::isAbsolutePath(path))
        return false;
    const QString item = QDir::cleanPath(path);
    return std::none_of(keptFolders.begin(), keptFolders.end(),
                        [&](const QString& kept) { return isSameOrInside(kept, item); });
}

QString describe(const std::error_code& error)
{
    return QStringLiteral("Error Domain=%1 Code=%2 \"%3\"")
        .arg(QString::fromLatin1(error.category().name()))
        .arg(error.value())
        .arg(QString::fromStdString(error.message()));
}

void logRemovalFailure(const QString& path, const std::error_code& error)
{
    qCInfo(lcPrivacy, "could not remove > %s\n %s", qUtf8Printable(path), error.message().c_str());
    qCInfo(lcPrivacy, "err > %s", qUtf8Printable(describe(error)));
    qCInfo(lcPrivacy, "isDeletableFileAtPath> %d", int(isDeletableFileAtPath(path)));
    qCInfo(lcPrivacy, "err> %ld", long(error.value()));
}

SheetAlert incompleteAlert(const QString& browser, const QStringList& left)
{
    SheetAlert alert;
    alert.messageText = kCleanUpIncomplete.arg(browser);
    alert.informativeText = kItemsLeft.arg(left.join(u'\n'));
    alert.buttons = {kOK};
    alert.style = SheetAlert::Style::Critical;
    return alert;
}

} // namespace

PrivacyCleaner::PrivacyCleaner(PrivacyLooks& looks, HudAlert& hud, SheetPresenter& sheets)
    : window_(std::make_shared<Window>(Window{&looks, &hud, &sheets}))
{}

PrivacyCleaner::~PrivacyCleaner()
{
    std::unique_lock lock(mutex_);
    cleanUpFinished_.wait(lock, [this] { return runningCleanUps_ == 0; });
    window_->looks = nullptr;
}

void PrivacyCleaner::removeCookies(bool cookies, bool andHistory,
                                   const PrivInfoDic& fromPrivInfoDic)
{
    {
        std::lock_guard lock(mutex_);
        ++runningCleanUps_;
    }
    GlobalQueue::dispatchAsync(
        [this, window = window_, cookies, andHistory, record = fromPrivInfoDic] {
            post(window, [](const Window& shown) { shown.looks->applyCleaningLook(); });
            QStringList left;
            if (cookies)
                left << removeCookiesOf(record, window);
            if (andHistory)
                left << removeHistory(record, window);
            post(window, [name = record.kBrowserName, left](const Window& shown) {
                shown.looks->applyIdleLook();
                if (left.isEmpty())
                    shown.hud->alertWithWindow(HudAlertType::success, kCleanUpComplete);
                else
                    shown.sheets->beginSheetModal(incompleteAlert(name, left), [](int) {});
            });
            finishCleanUp();
        });
}

void PrivacyCleaner::finishCleanUp()
{
    // Notified under the lock: the waiting destructor cannot end the cleaner before this returns.
    std::lock_guard lock(mutex_);
    --runningCleanUps_;
    cleanUpFinished_.notify_all();
}

QStringList PrivacyCleaner::removeHistoryOnlyFrom(const PrivInfoDic& record)
{
    return removeHistory(record, window_);
}

QStringList PrivacyCleaner::removeCookiesOnlyFrom(const PrivInfoDic& record)
{
    return removeCookiesOf(record, window_);
}

void PrivacyCleaner::post(const std::shared_ptr<Window>& window, WindowStep step)
{
    MainQueue::post([window, step = std::move(step)] {
        if (window->looks)
            step(*window);
    });
}

void PrivacyCleaner::postProgress(const std::shared_ptr<Window>& window, const QString& name,
                                  double removed, double total)
{
    post(window,
         [name, status = percentText(removed, total), value = percentOf(removed, total)](
             const Window& shown) { shown.looks->showCleaningProgress(name, status, value); });
}

QStringList PrivacyCleaner::removeListed(const QStringList& paths, const QStringList& kept,
                                         const std::function<void()>& removing)
{
    const QStringList roots = StoreItem::browserRoots();
    QStringList left;
    for (const QString& path : paths) {
        if (!mayRemove(path, kept))
            continue;
        std::error_code error;
        const std::optional<StoreItem> item = StoreItem::find(path, roots, error);
        if (!item) {
            if (error)
                left << itemLeft(path, QString::fromStdString(error.message()));
            continue;
        }
        removing();
        if (const std::error_code removal = item->remove()) {
            logRemovalFailure(path, removal);
            left << itemLeft(path, QString::fromStdString(removal.message()));
        }
    }
    return left;
}

QStringList PrivacyCleaner::removeHistory(const PrivInfoDic& record,
                                          const std::shared_ptr<Window>& window)
{
    const QStringList kept = keptFolders(record);
    const double total = double(record.kBrowserPrivacyInFilesCount);
    double removed = 0.0;
    QStringList left;
    for (const PrivFileDic& row : record.kBrowserPrivData) {
        if (row.kBrowserFileName == FirefoxProfiles::kPlacesDatabase &&
            record.kBrowserName == kFirefox.name)
            left << emptyPlaces(row.kBrowserFilePath);
        left << removeListed(row.kBrowserFilesToRemove, kept, [&] {
            removed += 1.0;
            postProgress(window, kCleaningHistory, removed, total);
        });
    }
    return left;
}

QStringList PrivacyCleaner::emptyPlaces(const QString& places)
{
    std::error_code error;
    const std::optional<StoreItem> item = StoreItem::find(places, StoreItem::browserRoots(), error);
    if (!item)
        return error ? QStringList{itemLeft(places, QString::fromStdString(error.message()))}
                     : QStringList();
    if (const std::error_code failure = emptyFirefoxHistory(item->reachedPath()))
        return {itemLeft(places, QString::fromStdString(failure.message()))};
    return {};
}

QStringList PrivacyCleaner::removeCookiesOf(const PrivInfoDic& record,
                                            const std::shared_ptr<Window>& window)
{
    if (!record.CookieStorage)
        return {};
    const CookiesDic& cookies = *record.CookieStorage;
    if (const auto* store = std::get_if<std::shared_ptr<HTTPCookieStorage>>(&cookies.CookieStorage);
        store && *store) {
        const double total = double(cookies.CookieStorageCount);
        double removed = 0.0;
        for (const HTTPCookie& cookie : (*store)->cookies()) {
            (*store)->deleteCookie(cookie);
            removed += 1.0;
            postProgress(window, kCleaningCookies, removed, total);
        }
        return {};
    }
    return removeListed(cookies.kBrowserFilesToRemove.value_or(QStringList()), keptFolders(record),
                        [] {});
}

} // namespace tolvex
