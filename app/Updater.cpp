#include "app/Updater.h"

#include "engine/SheetPresenter.h"

#include <QDesktopServices>

namespace tolvex {

Updater::Updater(SheetPresenter& sheets, QUrl feed, QObject* parent)
    : QObject(parent), sheets_(sheets),
      check_(new UpdateCheck(std::move(feed),
                             QVersionNumber::fromString(QStringLiteral(TOLVEX_VERSION)), this))
{
    connect(check_, &UpdateCheck::finished, this, &Updater::tell);
}

void Updater::checkForUpdates()
{
    if (checking_) {
        return;
    }
    checking_ = true;
    check_->check();
}

SheetAlert Updater::alertFor(const UpdateCheckResult& result)
{
    const QString ok = QStringLiteral("OK");
    switch (result.kind) {
    case UpdateCheckResult::Kind::UpdateAvailable:
        return {QStringLiteral("A new version of Tolvex is available!"),
                QStringLiteral("Tolvex %1 is now available, you have %2. Would you like to "
                               "download it now?")
                    .arg(result.newestVersion, QStringLiteral(TOLVEX_VERSION)),
                {QStringLiteral("Download"), QStringLiteral("Remind Me Later")},
                SheetAlert::Style::Informational};
    case UpdateCheckResult::Kind::UpToDate:
        return {QStringLiteral("You're up to date!"),
                QStringLiteral("Tolvex %1 is currently the newest version available.")
                    .arg(QStringLiteral(TOLVEX_VERSION)),
                {ok},
                SheetAlert::Style::Informational};
    case UpdateCheckResult::Kind::Malformed:
        return {QStringLiteral("Update Error!"),
                QStringLiteral("The update information could not be read. Please try again "
                               "later."),
                {ok},
                SheetAlert::Style::Warning};
    case UpdateCheckResult::Kind::Unreachable:
        break;
    }
    return {QStringLiteral("Update Error!"),
            QStringLiteral("An error occurred in retrieving update information. Please try "
                           "again later."),
            {ok},
            SheetAlert::Style::Warning};
}

void Updater::tell(const UpdateCheckResult& result)
{
    checking_ = false;
    const QUrl download = result.download;
    const bool offersDownload = result.kind == UpdateCheckResult::Kind::UpdateAvailable;
    sheets_.beginSheetModal(alertFor(result), [offersDownload, download](int response) {
        if (offersDownload && response == kAlertFirstButtonReturn) {
            QDesktopServices::openUrl(download);
        }
    });
}

} // namespace tolvex
