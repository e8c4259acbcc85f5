#include "platform/UpdateCheck.h"

#include "platform/Appcast.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace tolvex {

namespace {
constexpr int transferTimeoutMs = 15000;
} // namespace

UpdateCheck::UpdateCheck(QUrl feed, QVersionNumber currentVersion, QObject* parent)
    : QObject(parent), feed_(std::move(feed)), currentVersion_(std::move(currentVersion)),
      network_(new QNetworkAccessManager(this))
{}

void UpdateCheck::check()
{
    QNetworkRequest request(feed_);
    request.setTransferTimeout(transferTimeoutMs);
    QNetworkReply* reply = network_->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        UpdateCheckResult result;
        if (reply->error() != QNetworkReply::NoError) {
            result.error = reply->errorString();
            Q_EMIT finished(result);
            return;
        }
        const auto newest = Appcast::newestRelease(reply->readAll());
        if (!newest) {
            result.kind = UpdateCheckResult::Kind::Malformed;
            Q_EMIT finished(result);
            return;
        }
        result.kind = newest->version > currentVersion_ ? UpdateCheckResult::Kind::UpdateAvailable
                                                        : UpdateCheckResult::Kind::UpToDate;
        result.newestVersion = newest->displayVersion;
        result.download = newest->download;
        Q_EMIT finished(result);
    });
}

} // namespace tolvex
