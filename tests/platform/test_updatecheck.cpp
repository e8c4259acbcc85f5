#include "platform/UpdateCheck.h"

#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using tolvex::UpdateCheck, tolvex::UpdateCheckResult;
using Kind = UpdateCheckResult::Kind;

namespace {

QByteArray feedWith(const QByteArray& items)
{
    return "<rss xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel>" +
           items + "</channel></rss>";
}

const QByteArray kDownloads = "https://downloads.invalid/";

QByteArray item(const QByteArray& version)
{
    return "<item><enclosure url=\"" + kDownloads + version +
           ".tar.gz\" sparkle:shortVersionString=\"" + version + "\"/></item>";
}

} // namespace

class TestUpdateCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlyAHigherVersionIsOfferedAndFailuresAreToldApart_data()
    {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("newest");
        const auto row = [](const char* name, const QByteArray& body, Kind kind,
                            const QString& newest, const QByteArray& status = "200 OK") {
            // HTTP/1.0: the body ends where the connection does.
            QTest::newRow(name) << "HTTP/1.0 " + status + "\r\n\r\n" + body << int(kind) << newest;
        };
        row("numeric order", feedWith(item("1.2") + item("1.10.1") + item("1.9") + "<item/>"),
            Kind::UpdateAvailable, "1.10.1");
        row("version element",
            feedWith("<item><sparkle:version>2.0b</sparkle:version><enclosure url=\"" + kDownloads +
                     "2.0b.tar.gz\"/></item>"),
            Kind::UpdateAvailable, "2.0b");
        row("same", feedWith(item("0.9") + item("1.0.0")), Kind::UpToDate, "1.0.0");
        row("no release", feedWith(""), Kind::Malformed, "");
        row("cut short", feedWith(item("1.1")).chopped(10), Kind::Malformed, "");
        row("missing", "gone", Kind::Unreachable, "", "404 Not Found");
    }

    void onlyAHigherVersionIsOfferedAndFailuresAreToldApart()
    {
        QFETCH(QByteArray, response);
        QFETCH(int, kind);
        QFETCH(QString, newest);
        // The feed's server on loopback: one fixed response to every request.
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        connect(&server, &QTcpServer::newConnection, &server, [&server, response] {
            QTcpSocket* socket = server.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [socket, response] {
                if (socket->readAll().contains("\r\n\r\n")) {
                    socket->write(response);
                    socket->disconnectFromHost();
                }
            });
        });
        const QUrl feed(QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(server.serverPort()));
        UpdateCheck check(feed, QVersionNumber(1, 0, 0));
        QSignalSpy finished(&check, &UpdateCheck::finished);
        check.check();
        QVERIFY(finished.wait(20000));
        const auto result = finished.first().first().value<UpdateCheckResult>();
        QCOMPARE(int(result.kind), kind);
        QCOMPARE(result.newestVersion, newest);
        QCOMPARE(result.download,
                 newest.isEmpty() ? QUrl() : QUrl(kDownloads + newest + ".tar.gz"));
        QCOMPARE(result.error.isEmpty(), kind != int(Kind::Unreachable));
    }
};

QTEST_GUILESS_MAIN(TestUpdateCheck)
#include "test_updatecheck.moc"
