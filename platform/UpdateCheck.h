#pragma once

#include <QObject>
#include <QUrl>
#include <QVersionNumber>

class QNetworkAccessManager;

namespace tolvex {

struct UpdateCheckResult {
    enum class Kind {
        UpdateAvailable, // the feed announces a version above ours
        UpToDate,        // ours is the newest the feed announces
        Malformed,       // the feed came but could not be read
        Unreachable      // the feed could not be fetched
    };
    Kind kind = Kind::Unreachable;
    QString newestVersion; // as the feed writes it; empty unless the feed was read
    QUrl download;         // the newest release's enclosure
    QString error;         // why the feed could not be fetched
};

// Fetches the appcast feed and compares its newest release with the running version.
class UpdateCheck : public QObject {
    Q_OBJECT

public:
    UpdateCheck(QUrl feed, QVersionNumber currentVersion, QObject* parent = nullptr);

    // Starts one check; `finished` follows once, on this object's thread.
    void check();

Q_SIGNALS:
    void finished(const tolvex::UpdateCheckResult& result);

private:
    QUrl feed_;
    QVersionNumber currentVersion_;
    QNetworkAccessManager* network_;
};

} // namespace tolvex
