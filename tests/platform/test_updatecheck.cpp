#include "platform/Appcast.h"
#include "platform/UpdateCheck.h"

#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace tolvex;

namespace {

QByteArray feedWith(const QByteArray& items)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<rss version=\"2.0\" "
           "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
           "<channel><title>Tolvex</title>" +
           items + "</channel></rss>";
}

QByteArray item(const QByteArray& version)
{
    return "<item><title>Version " + version +
           "</title><enclosure url=\"https://downloads.invalid/Tolvex-" + version +
           ".tar.gz\" sparkle:shortVersionString=\"" + version +
           "\" length=\"1\" type=\"application/octet-stream\"/></item>";
}

// Answers every request on loopback with one fixed HTTP response.
class FeedServer : public QTcpServer {
public:
    explicit FeedServer(QByteArray status, QByteArray body)
        : status_(std::move(status)), body_(std::move(body))
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (!socket->readAll().contains("\r\n\r\n"))
                        return;
                    socket->write("HTTP/1.1 " + status_ + "\r\nContent-Type: application/xml\r\n" +
                                  "Content-Length: " + QByteArray::number(body_.size()) +
                                  "\r\nConnection: close\r\n\r\n" + body_);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        listen(QHostAddress::LocalHost);
    }

    QUrl url() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(serverPort()));
    }

private:
    QByteArray status_;
    QByteArray body_;
};

UpdateCheckResult checkAgainst(const QUrl& feed)
{
    UpdateCheck check(feed, QVersionNumber(1, 0, 0));
    QSignalSpy finished(&check, &UpdateCheck::finished);
    check.check();
    if (!finished.wait(20000))
        return {};
    return finished.first().first().value<UpdateCheckResult>();
}

} // namespace

class TestUpdateCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<UpdateCheckResult>();
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    }

    void newestReleaseIsTheHighestReadableVersion()
    {
        const auto newest = Appcast::newestRelease(
            feedWith(item("1.2") + item("1.10.1") + item("1.9") +
                     "<item><title>no version</title></item>"
                     "<item><sparkle:version>2.0b</sparkle:version>"
                     "<enclosure url=\"https://downloads.invalid/b\"/></item>"));
        QVERIFY(newest);
        QCOMPARE(newest->version, QVersionNumber(2, 0));
        QCOMPARE(newest->displayVersion, QStringLiteral("2.0b"));
        QCOMPARE(newest->download, QUrl("https://downloads.invalid/b"));

        QVERIFY(!Appcast::newestRelease(feedWith("")));
        QVERIFY(!Appcast::newestRelease(feedWith(item("1.1")).chopped(10)));
        QVERIFY(!Appcast::newestRelease("not xml at all"));
    }

    void onlyAHigherVersionIsOffered()
    {
        FeedServer newer("200 OK", feedWith(item("1.0.0") + item("1.3.2")));
        const auto result = checkAgainst(newer.url());
        QCOMPARE(result.kind, UpdateCheckResult::Kind::UpdateAvailable);
        QCOMPARE(result.newestVersion, QStringLiteral("1.3.2"));
        QCOMPARE(result.download, QUrl("https://downloads.invalid/Tolvex-1.3.2.tar.gz"));

        FeedServer same("200 OK", feedWith(item("0.9") + item("1.0.0")));
        QCOMPARE(checkAgainst(same.url()).kind, UpdateCheckResult::Kind::UpToDate);
    }

    void failuresAreToldApart()
    {
        FeedServer malformed("200 OK", "<rss><channel><item><enclosure sparkle:version=");
        QCOMPARE(checkAgainst(malformed.url()).kind, UpdateCheckResult::Kind::Malformed);
        FeedServer missing("404 Not Found", "gone");
        QCOMPARE(checkAgainst(missing.url()).kind, UpdateCheckResult::Kind::Unreachable);

        const QUrl refusing = missing.url();
        missing.close();
        const auto refused = checkAgainst(refusing);
        QCOMPARE(refused.kind, UpdateCheckResult::Kind::Unreachable);
        QVERIFY(!refused.error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestUpdateCheck)
#include "test_updatecheck.moc"
