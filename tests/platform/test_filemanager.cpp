#include "platform/FileManager.h"
#include "platform/NativePath.h"

#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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

class TestFileManager : public QObject {
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

    // Without a file manager each parent folder opens once; with one, it shows the items. Either
    // is asked by URLs of the names' own bytes, text or not.
    void opensEachParentFolderOnceWithoutAFileManagerElseAsksItToShowTheItems()
    {
        const QString notText = tolvex::decodeNativePath("/caf\xe9/x");
        tolvex::FileManager::showItems({"/data/x", "/data/y", notText});
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
        tolvex::FileManager::showItems({"/data/a file.txt", notText});
        QTRY_COMPARE(fake.shownUris,
                     QStringList({"file:///data/a%20file.txt", "file:///caf%E9/x"}));
        QVERIFY(!opened_.exists());
    }
};

QTEST_GUILESS_MAIN(TestFileManager)
#include "test_filemanager.moc"
