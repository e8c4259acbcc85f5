// Small services of the platform layer: paths as bytes, byte counts, the home folder, the
// settings store, running browsers (harmless programs copied under a browser's executable name
// stand in for the browser; only the processes these tests start are ever signalled) and the
// update feed (served on loopback), and the file manager asked on a bus of the test's own.
#include "platform/ByteCountFormatter.h"
#include "platform/FileManager.h"
#include "platform/HomeFolder.h"
#include "platform/NativePath.h"
#include "platform/RunningApplication.h"
#include "platform/Task.h"
#include "platform/UpdateCheck.h"
#include "platform/UserDefaults.h"

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QNetworkProxy>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <csignal>
#include <limits>
#include <pwd.h>
#include <unistd.h>

using namespace tolvex;
using Kind = UpdateCheckResult::Kind;

namespace {

bool listed(const ApplicationPrograms& programs, qint64 pid)
{
    const QList<RunningApplication> running = RunningApplication::runningApplicationsOf(programs);
    return std::any_of(running.begin(), running.end(), [&](const RunningApplication& application) {
        return application.processIdentifier() == pid;
    });
}

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

// A bus of the test's own that can start no service, so nothing on the desktop is touched.
const char* const kBusConfig = R"(<busconfig><type>session</type><listen>unix:dir=%1</listen>
  <policy context="default"><allow send_destination="*"/><allow own="*"/>
  <allow receive_sender="*"/></policy></busconfig>)";

// Stands in for the desktop's file manager on the test bus.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shownUris;

public Q_SLOTS:
    void ShowItems(const QStringList& uris, const QString&) { shownUris << uris; }
};

class TestPlatform : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QProcess bus_;
    QFile opened_{dir_.filePath("opened")};

    QString writeFile(const QString& name, const QString& contents)
    {
        QFile file(dir_.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(contents.toUtf8()) ? file.fileName()
                                                                                : QString();
    }
    const QString iniPath_ = dir_.filePath(QStringLiteral("store.conf"));

    // Another reader of the same file, as a second process would see it.
    QVariant onDisk(const QString& key) const
    {
        return QSettings(iniPath_, QSettings::IniFormat).value(key);
    }

    QString copyAs(const QString& program, const QString& relative)
    {
        const QString copy = dir_.filePath(relative);
        QDir().mkpath(QFileInfo(copy).path());
        QFile::copy(program, copy);
        return copy;
    }

private Q_SLOTS:
    void initTestCase()
    {
        bus_.start("dbus-daemon",
                   {"--config-file=" + writeFile("bus.conf", QString(kBusConfig).arg(dir_.path())),
                    "--nofork", "--print-address"});
        QVERIFY2(bus_.waitForReadyRead(10000), "dbus-daemon did not start");
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus_.readLine().trimmed());

        // The fallback opener: records the folders it was asked to open.
        const QString opener =
            writeFile("xdg-open", "#!/bin/sh\necho \"$1\" >> '" + opened_.fileName() + "'\n");
        QFile::setPermissions(opener, QFile::ReadOwner | QFile::ExeOwner);
        qputenv("PATH", dir_.path().toUtf8() + ":" + qgetenv("PATH"));
    }

    void bytesSurviveTheRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("readable");
        QTest::newRow("text") << QByteArray("/tmp/caf\xc3\xa9 \xf0\x9f\x94\xa5")
                              << u"/tmp/café 🔥"_qs;
        QTest::newRow("latin-1 byte") << QByteArray("/tmp/caf\xe9.txt") << u"/tmp/caf\ufffd.txt"_qs;
        // A lossy decoding would take the byte above and the character here for one name.
        QTest::newRow("replacement")
            << QByteArray("/tmp/caf\xef\xbf\xbd.txt") << u"/tmp/caf\ufffd.txt"_qs;
        QTest::newRow("cut sequence") << QByteArray("/a\xe2\x82") << u"/a\ufffd\ufffd"_qs;
        QTest::newRow("overlong slash") << QByteArray("/a\xc0\xaf") << u"/a\ufffd\ufffd"_qs;
        QTest::newRow("encoded surrogate")
            << QByteArray("/\xed\xb2\x80") << u"/\ufffd\ufffd\ufffd"_qs;
        QTest::newRow("past U+10FFFF")
            << QByteArray("/\xf4\x90\x80\x80") << u"/\ufffd\ufffd\ufffd\ufffd"_qs;
        QTest::newRow("every high byte") << [] {
            QByteArray all;
            for (int b = 0x80; b <= 0xff; ++b)
                all += char(b);
            return all;
        }() << QString(0x80, QChar(0xFFFD));
    }

    void bytesSurviveTheRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, readable);
        const QString path = decodeNativePath(bytes);
        QCOMPARE(encodeNativePath(path), bytes);
        QCOMPARE(toNativePath(path).native(), bytes.toStdString());
        QCOMPARE(readablePath(path), readable);
    }

    void fileStyle_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        // The byte count, the locale and the text, apart by spaces; the last is the largest.
        for (const char* row :
             {"0 en_US Zero KB", "1 en_US 1 byte", "999 en_US 999 bytes", "1000 en_US 1 KB",
              "1499 en_US 1 KB", "1500 en_US 2 KB", "999499 en_US 999 KB", "999999 en_US 1 MB",
              "1234567 en_US 1.2 MB", "1000000000 en_US 1 GB", "1234567890 en_US 1.23 GB",
              "1500000000000 en_US 1.5 TB", "1234567 de_DE 1,2 MB", "1234567890 de_DE 1,23 GB",
              "9223372036854775807 en_US 9.22 EB"}) {
            const QStringList fields = QString::fromLatin1(row).split(' ');
            QTest::newRow(row) << fields[0].toLongLong() << fields[1] << fields.mid(2).join(' ');
        }
    }

    void fileStyle()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, locale);
        QTEST(ByteCountFormatter::stringFromByteCount(bytes, QLocale(locale)), "text");
    }

    void comesFromThePasswdEntryNotFromHome()
    {
        qputenv("HOME", "/nowhere/else");
        const passwd* entry = ::getpwuid(::getuid());
        QVERIFY(entry);
        QCOMPARE(HomeFolder::realHomeFolder().value_or(QString()),
                 QString::fromUtf8(entry->pw_dir));
    }

    // Unsigned 64-bit values, alone or in a record, come back whole.
    void everyWriteReachesTheFileWholeAndIsAnnounced()
    {
        UserDefaults::setStandardForTesting(iniPath_);
        UserDefaults& defaults = UserDefaults::standard();
        QSignalSpy changed(&defaults, &UserDefaults::valueChanged);
        defaults.setBool("flag", true);
        QCOMPARE(onDisk("flag").toBool(), true);
        defaults.setInteger("index", -5);
        QCOMPARE(onDisk("index").toLongLong(), -5);
        defaults.removeObject("flag");
        QVERIFY(!onDisk("flag").isValid());
        QVERIFY(!defaults.boolForKey("flag"));
        QCOMPARE(defaults.integerForKey("absent"), 0);
        QVERIFY(!defaults.objectForKey("absent").isValid());

        constexpr quint64 largest = std::numeric_limits<quint64>::max();
        const quint64 aboveTwoToThe63 = (quint64(1) << 63) + 12345;
        defaults.setObject("single", QVariant::fromValue(largest));
        defaults.setObject("record", QVariantMap{{"bytes", QVariant::fromValue(aboveTwoToThe63)}});
        for (const QVariant& single : {onDisk("single"), defaults.objectForKey("single")})
            QCOMPARE(single.toULongLong(), largest);
        for (const QVariant& record : {onDisk("record"), defaults.objectForKey("record")})
            QCOMPARE(record.toMap().value("bytes").toULongLong(), aboveTwoToThe63);
        QCOMPARE(QList<QVariantList>(changed),
                 QList<QVariantList>({{"flag"}, {"index"}, {"flag"}, {"single"}, {"record"}}));
    }

    void unwritableStoreIsReportedOnceAndKeepsItsValuesForTheRun()
    {
        QFile blocker(dir_.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        const QString unwritable = blocker.fileName() + QStringLiteral("/Tolvex.conf");
        UserDefaults::setStandardForTesting(unwritable);
        UserDefaults& defaults = UserDefaults::standard();
        QSignalSpy failed(&defaults, &UserDefaults::writeFailed);
        defaults.setBool("flag", true);
        defaults.setInteger("index", 2);
        QCOMPARE(QList<QVariantList>(failed), QList<QVariantList>{{unwritable}});
        QVERIFY(defaults.boolForKey("flag"));
    }

    // Found by its installed program, not by its own helpers' nor by a program of the same name
    // elsewhere, asked to end, and waited for without holding the thread.
    void findsEndsAndWaitsForTheBrowsersProgramButNotItsHelpers()
    {
        const QString helper = copyAs("/bin/sleep", "helper/vivaldi-bin");
        const ApplicationPrograms vivaldi{{copyAs("/bin/sh", "browser/vivaldi-bin")}};
        Task task(vivaldi.files.first(), {"-c", helper + " 30 >/dev/null 2>&1 & echo $!; wait"});
        std::atomic<pid_t> helperId = 0;
        task.setReadabilityHandler(
            [&](const QByteArray& line) { helperId = pid_t(line.toLong()); });
        QVERIFY(task.launch());
        QTRY_VERIFY(helperId != 0);
        const pid_t pid = pid_t(task.processIdentifier());
        QVERIFY(listed(vivaldi, pid));
        QVERIFY(!listed(vivaldi, helperId));
        QVERIFY(
            !listed({{dir_.filePath("own/vivaldi-bin")}, "vivaldi", "com.vivaldi.Vivaldi"}, pid));
        QVERIFY(RunningApplication::runningApplicationsWithBundleIdentifier("com.apple.Safari")
                    .isEmpty());

        const RunningApplication application(pid);
        QList<bool> ended;
        application.whenTerminated(std::chrono::milliseconds(50),
                                   [&](bool gone) { ended << gone; });
        QTRY_COMPARE(ended, QList<bool>{false});
        application.whenTerminated(std::chrono::seconds(30), [&](bool gone) { ended << gone; });
        QVERIFY(application.terminate());
        QTRY_COMPARE(ended, QList<bool>({false, true}));
        task.waitUntilExit();
        QCOMPARE(task.terminationStatus(), SIGTERM);
        QVERIFY(!listed(vivaldi, pid));
        QVERIFY(RunningApplication(helperId).terminate());
    }

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

    // Without a file manager each parent folder opens once; with one, it shows the items. Either
    // is asked by URLs of the names' own bytes, text or not.
    void opensEachParentFolderOnceWithoutAFileManagerElseAsksItToShowTheItems()
    {
        const QString notText = decodeNativePath("/caf\xe9/x");
        FileManager::showItems({"/data/x", "/data/y", notText});
        const QStringList folders{"file:///caf%E9", "file:///data"};
        QTRY_VERIFY(opened_.exists() && opened_.size() == folders.join('\n').size() + 1);
        QVERIFY(opened_.open(QIODevice::ReadOnly));
        // Each folder opens in a detached process of its own: they may finish in any order.
        QStringList opened = QString::fromUtf8(opened_.readAll()).split('\n', Qt::SkipEmptyParts);
        opened.sort();
        QCOMPARE(opened, folders);
        QVERIFY(opened_.remove());

        FakeFileManager fake;
        QDBusConnection service = QDBusConnection::sessionBus();
        QVERIFY(service.registerObject("/org/freedesktop/FileManager1", &fake,
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService("org.freedesktop.FileManager1"));
        FileManager::showItems({"/data/a file.txt", notText});
        QTRY_COMPARE(fake.shownUris,
                     QStringList({"file:///data/a%20file.txt", "file:///caf%E9/x"}));
        QVERIFY(!opened_.exists());
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
