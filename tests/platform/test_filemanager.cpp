#include "platform/FileManager.h"

#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tolvex;

namespace {

const QString kService = QStringLiteral("org.freedesktop.FileManager1");
const QString kObjectPath = QStringLiteral("/org/freedesktop/FileManager1");

// A bus of the test's own that can start no service, so nothing on the desktop is touched.
const char* const kBusConfig = R"(<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <policy context="default">
    <allow send_destination="*"/>
    <allow own="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
)";

} // namespace

// Stands in for the desktop's file manager on the test bus.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shownUris;

public Q_SLOTS:
    void ShowItems(const QStringList& uris, const QString&) { shownUris << uris; }
};

class TestFileManager : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QProcess bus_;
    QString address_;

    QString writeFile(const QString& name, const QByteArray& contents)
    {
        QFile file(dir_.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(contents);
        return file.fileName();
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString config = writeFile("bus.conf", QString(kBusConfig).arg(dir_.path()).toUtf8());
        bus_.start("dbus-daemon", {"--config-file=" + config, "--nofork", "--print-address"});
        QVERIFY2(bus_.waitForReadyRead(10000), "dbus-daemon did not start");
        address_ = QString::fromUtf8(bus_.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
        QVERIFY(QDBusConnection::sessionBus().isConnected());

        // The fallback opener: records the folders it was asked to open.
        const QString opener = writeFile(
            "xdg-open",
            QString("#!/bin/sh\necho \"$1\" >> '%1'\n").arg(dir_.filePath("opened")).toUtf8());
        QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", dir_.path().toUtf8() + ":" + qgetenv("PATH"));
    }

    void cleanupTestCase()
    {
        bus_.terminate();
        bus_.waitForFinished();
    }

    void asksTheFileManagerToShowTheItems()
    {
        FakeFileManager fake;
        QDBusConnection service = QDBusConnection::connectToBus(address_, "fake");
        QVERIFY(service.registerObject(kObjectPath, &fake, QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService(kService));

        FileManager::showItems({"/data/a file.txt", "/data/sub/b"});
        QTRY_COMPARE(fake.shownUris,
                     QStringList({"file:///data/a%20file.txt", "file:///data/sub/b"}));
        service.unregisterService(kService);
        service.unregisterObject(kObjectPath);
        QDBusConnection::disconnectFromBus("fake");
        QVERIFY(!QFile::exists(dir_.filePath("opened")));
    }

    void opensEachParentFolderOnceWithoutAFileManager()
    {
        FileManager::showItems({"/data/x", "/data/y", "/other/z"});
        QFile opened(dir_.filePath("opened"));
        QTRY_VERIFY(opened.exists() && opened.size() == QByteArray("/data\n/other\n").size());
        QVERIFY(opened.open(QIODevice::ReadOnly));
        // Each folder opens in a detached process of its own: they may finish in any order.
        QStringList folders = QString::fromUtf8(opened.readAll()).split('\n', Qt::SkipEmptyParts);
        folders.sort();
        QCOMPARE(folders, QStringList({"/data", "/other"}));
    }
};

QTEST_GUILESS_MAIN(TestFileManager)
#include "test_filemanager.moc"
