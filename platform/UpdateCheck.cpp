#include "platform/UpdateCheck.h"

#include "platform/Appcast.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace tolvex {

namespace {

constexpr int transferTimeoutMs = 15000;

UpdateCheckResult resultOf(QNetworkReply& reply, const QVersionNumber& currentVersion)
{
    UpdateCheckResult result;
    if (reply.error() != QNetworkReply::NoError) {
        result.error = reply.errorString();
        return result;
    }
    const auto newest = Appcast::newestRelease(reply.readAll());
    if (!newest) {
        result.kind = UpdateCheckResult::Kind::Malformed;
        return result;
    }
    result.kind = newest->version > currentVersion ? UpdateCheckResult::Kind::UpdateAvailable
                                                   : UpdateCheckResult::Kind::UpToDate;
    result.newestVersion = newest->displayVersion;
    result.download = newest->download;
    return result;
}

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
        Q_EMIT finished(resultOf(*reply, currentVersion_));
    });
}

} // namespace tolvex
