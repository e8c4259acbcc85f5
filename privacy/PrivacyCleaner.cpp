#include "privacy/PrivacyCleaner.h"

#include "engine/HudAlert.h"
#include "engine/UtilsFileSystem.h"
#include "platform/GlobalQueue.h"
#include "platform/HomeFolder.h"
#include "platform/MainQueue.h"
#include "platform/NativePath.h"
#include "privacy/Browsers.h"
#include "privacy/FirefoxProfiles.h"
#include "privacy/PrivacyLooks.h"
#include "privacy/UtilsDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <filesystem>

namespace tolvex {

namespace {

const QString kCleaningHistory = QStringLiteral("Cleaning History Data...");
const QString kCleaningCookies = QStringLiteral("Cleaning Cookie Data...");
const QString kCleanUpComplete = QStringLiteral("Clean up Complete!");
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

void emptyFirefoxHistory(const QString& places)
{
    for (const auto& [table, keptRows] : FirefoxProfiles::placesHistoryTables(places))
        Utils::removeRecordsInDBFilePath(places, table, keptRows);
}

bool fileExistsAtPath(const QString& path)
{
    return QFileInfo::exists(path);
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

std::error_code removeItemAtPath(const QString& path)
{
    std::error_code error;
    std::filesystem::remove_all(toNativePath(path), error);
    return error;
}

QString describe(const std::error_code& error)
{
    return QStringLiteral("Error Domain=%1 Code=%2 \"%3\"")
        .arg(QString::fromLatin1(error.category().name()))
        .arg(error.value())
        .arg(QString::fromStdString(error.message()));
}

} // namespace

PrivacyCleaner::PrivacyCleaner(PrivacyLooks& looks, HudAlert& hud)
    : window_(std::make_shared<Window>(Window{&looks, &hud}))
{}

PrivacyCleaner::~PrivacyCleaner()
{
    std::unique_lock lock(mutex_);
    cleanUpFinished_.wait(lock, [this] { return runningCleanUps_ == 0; });
    window_->looks = nullptr;
    window_->hud = nullptr;
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
            post(window, [](PrivacyLooks& looks, HudAlert&) { looks.applyCleaningLook(); });
            if (cookies)
                removeCookiesOf(record, window);
            if (andHistory)
                removeHistory(record, window);
            post(window, [](PrivacyLooks& looks, HudAlert& hud) {
                looks.applyIdleLook();
                hud.alertWithWindow(HudAlertType::success, kCleanUpComplete);
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

void PrivacyCleaner::removeHistoryOnlyFrom(const PrivInfoDic& record)
{
    removeHistory(record, window_);
}

void PrivacyCleaner::removeCookiesOnlyFrom(const PrivInfoDic& record)
{
    removeCookiesOf(record, window_);
}

void PrivacyCleaner::post(const std::shared_ptr<Window>& window, WindowStep step)
{
    MainQueue::post([window, step = std::move(step)] {
        if (window->looks)
            step(*window->looks, *window->hud);
    });
}

void PrivacyCleaner::postProgress(const std::shared_ptr<Window>& window, const QString& name,
                                  double removed, double total)
{
    post(window,
         [name, status = percentText(removed, total), value = percentOf(removed, total)](
             PrivacyLooks& looks, HudAlert&) { looks.showCleaningProgress(name, status, value); });
}

void PrivacyCleaner::removeHistory(const PrivInfoDic& record, const std::shared_ptr<Window>& window)
{
    const QStringList kept = keptFolders(record);
    const double total = double(record.kBrowserPrivacyInFilesCount);
    double removed = 0.0;
    for (const PrivFileDic& row : record.kBrowserPrivData) {
        if (row.kBrowserFileName == FirefoxProfiles::kPlacesDatabase &&
            record.kBrowserName == kFirefox.name && fileExistsAtPath(row.kBrowserFilePath)) {
            emptyFirefoxHistory(row.kBrowserFilePath);
        }
        for (const QString& path : row.kBrowserFilesToRemove) {
            // A listed link goes as the link, dangling or not; what it points at stays.
            if (!mayRemove(path, kept) || !Utils::itemExistsAtPath(path))
                continue;
            removed += 1.0;
            postProgress(window, kCleaningHistory, removed, total);
            if (const std::error_code error = removeItemAtPath(path)) {
                qInfo("could not remove > %s\n %s", qUtf8Printable(path), error.message().c_str());
                qInfo("err > %s", qUtf8Printable(describe(error)));
                qInfo("isDeletableFileAtPath> %d", int(isDeletableFileAtPath(path)));
                qInfo("err> %ld", long(error.value()));
            }
        }
    }
}

void PrivacyCleaner::removeCookiesOf(const PrivInfoDic& record,
                                     const std::shared_ptr<Window>& window)
{
    if (!record.CookieStorage)
        return;
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
        return;
    }
    const QStringList kept = keptFolders(record);
    for (const QString& path : cookies.kBrowserFilesToRemove.value_or(QStringList())) {
        if (!mayRemove(path, kept) || !Utils::itemExistsAtPath(path))
            continue;
        if (const std::error_code error = removeItemAtPath(path))
            qInfo("could not remove > %s\n %s", qUtf8Printable(path), error.message().c_str());
    }
}

} // namespace tolvex
