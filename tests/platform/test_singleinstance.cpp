#include "platform/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

using namespace tolvex;
using Kind = LaunchRequest::Kind;

class TestSingleInstance : public QObject {
    Q_OBJECT

private:
    const QString peerProgram_ = QCoreApplication::applicationDirPath() + "/singleinstance_peer";

    // Runs a second process on the test's folder from `workingFolder` and returns its exit code,
    // keeping this process's event loop turning so the listener can answer it.
    int runPeer(const QStringList& arguments, const QString& workingFolder = QDir::tempPath())
    {
        QProcess peer;
        peer.setWorkingDirectory(workingFolder);
        peer.start(peerProgram_, QStringList{folder_.path()} + arguments);
        const bool ended =
            peer.waitForStarted() &&
            QTest::qWaitFor([&] { return peer.state() == QProcess::NotRunning; }, 15000);
        return ended && peer.exitStatus() == QProcess::NormalExit ? peer.exitCode() : -1;
    }

    QTemporaryDir folder_;

private Q_SLOTS:
    void argumentsNameTheRequestWhichTravelsIntactAndGarbageDoesNot()
    {
        QCOMPARE(LaunchRequest::fromArguments({"a.txt", "/x/../y/b"}, "/home/u"),
                 (LaunchRequest{Kind::OpenFiles, {"/home/u/a.txt", "/y/b"}}));
        QCOMPARE(LaunchRequest::fromArguments({"--erase", "/f"}, "/"),
                 (LaunchRequest{Kind::EraseFiles, {"/f"}}));
        QCOMPARE(LaunchRequest::fromArguments({}, "/").kind, Kind::Reopen);
        QCOMPARE(LaunchRequest::fromArguments({"--erase"}, "/").kind, Kind::EraseFiles);

        const LaunchRequest request{Kind::EraseFiles, {"/a", "/b c/ä"}};
        QCOMPARE(LaunchRequest::decode(request.encode()), request);
        QVERIFY(!LaunchRequest::decode("garbage"));
        QVERIFY(!LaunchRequest::decode(request.encode() + "x"));
        QVERIFY(!LaunchRequest::decode(request.encode().left(7)));
    }

    void laterProcessesHandOverWholeRequestsAndBadMessagesAreRefused()
    {
        SingleInstance running(folder_.path());
        QCOMPARE(running.start({}), SingleInstance::Outcome::Running);
        QVERIFY(!(QFileInfo(running.socketPath()).permissions() &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther)));
        QSignalSpy erased(&running, &SingleInstance::eraseFilesRequested);
        QSignalSpy opened(&running, &SingleInstance::openFilesRequested);
        QCOMPARE(runPeer({"--erase", "one", "/abs/two"}, folder_.path()), 0);
        QCOMPARE(QList<QVariantList>(erased),
                 QList<QVariantList>({{QStringList({folder_.filePath("one"), "/abs/two"})}}));

        // An oversized message closes its connection unanswered, though it is whole and well
        // formed; so does a garbled one.
        const QByteArray oversized =
            LaunchRequest{Kind::OpenFiles, {QString(SingleInstance::maxMessageSize / 2, 'o')}}
                .encode();
        QVERIFY(oversized.size() > SingleInstance::maxMessageSize);
        for (const QByteArray& message : {oversized, QByteArray(5, 'z')}) {
            QLocalSocket client;
            client.connectToServer(running.socketPath());
            QVERIFY(client.waitForConnected());
            QByteArray header(4, 0);
            qToBigEndian(quint32(message.size()), header.data());
            client.write(header + message);
            QTRY_COMPARE(client.state(), QLocalSocket::UnconnectedState);
            QCOMPARE(client.bytesAvailable(), 0);
        }
        QCOMPARE(opened.size(), 0);

        // A request larger than one message arrives whole, in pieces.
        QStringList paths;
        for (int i = 0; i < 1500; ++i)
            paths.append(QStringLiteral("/d/%1/").arg(i) + QString(400, QLatin1Char('n')));
        QVERIFY((LaunchRequest{Kind::OpenFiles, paths}.encode().size() >
                 SingleInstance::maxMessageSize));
        QCOMPARE(runPeer(paths), 0);
        QVERIFY(opened.size() > 1);
        QStringList received;
        for (const auto& arguments : opened)
            received += arguments.first().toStringList();
        QCOMPARE(received, paths);
    }

    void withoutAPrivateRuntimeFolderThePrivateCacheServes()
    {
        QTemporaryDir scratch;
        const char* const names[] = {"XDG_RUNTIME_DIR", "TMPDIR", "XDG_CACHE_HOME"};
        const QByteArray saved[] = {qgetenv(names[0]), qgetenv(names[1]), qgetenv(names[2])};
        const auto restore = qScopeGuard([&] {
            for (int i = 0; i < 3; ++i)
                qputenv(names[i], saved[i]);
        });
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(scratch.path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(scratch.filePath("cache")));
        // The usual stand-in for the runtime folder, taken by someone else.
        const passwd* user = getpwuid(geteuid());
        QVERIFY(user);
        QFile taken(scratch.filePath(QStringLiteral("runtime-") + user->pw_name));
        QVERIFY(taken.open(QIODevice::WriteOnly));

        const QString folder = SingleInstance::defaultFolder();
        QCOMPARE(folder, scratch.filePath("cache/tolvex-runtime"));
        SingleInstance running(folder);
        QCOMPARE(running.start({}), SingleInstance::Outcome::Running);
        QVERIFY(!(QFileInfo(folder).permissions() &
                  ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser |
                    QFile::WriteUser | QFile::ExeUser)));

        // A link, or a folder that others may enter, is refused and gets no lock.
        QVERIFY(QDir(scratch.path()).mkdir("open"));
        QVERIFY(QFile::link(folder, scratch.filePath("link")));
        for (const char* name : {"open", "link"}) {
            SingleInstance refused(scratch.filePath(name));
            QString error;
            QCOMPARE(refused.start({}, &error), SingleInstance::Outcome::Failed);
            QVERIFY2(error.contains(scratch.filePath(name)), qPrintable(error));
        }
        QVERIFY(!QFileInfo::exists(scratch.filePath("open/tolvex.lock")));
    }

    void listenerComesBackWhenDescriptorsRanOutAndIdleConnectionsGoSoon()
    {
        SingleInstance running(folder_.path());
        QCOMPARE(running.start({}), SingleInstance::Outcome::Running);
        QSignalSpy opened(&running, &SingleInstance::openFilesRequested);

        // Two idle connections take the last descriptors but one, so the listener cannot accept
        // a third.
        rlimit saved{};
        getrlimit(RLIMIT_NOFILE, &saved);
        rlimit tight = saved;
        tight.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 1024);
        QCOMPARE(setrlimit(RLIMIT_NOFILE, &tight), 0);
        std::vector<int> taken;
        for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
            taken.push_back(fd);
        for (int i = 0; i < 5; ++i, taken.pop_back())
            ::close(taken.back());
        std::vector<std::unique_ptr<QLocalSocket>> idle;
        for (int i = 0; i < 3; ++i) {
            idle.push_back(std::make_unique<QLocalSocket>());
            idle.back()->connectToServer(running.socketPath());
            QCoreApplication::processEvents();
        }
        for (int fd : taken)
            ::close(fd);
        QCOMPARE(setrlimit(RLIMIT_NOFILE, &saved), 0);

        for (const auto& client : idle)
            QTRY_COMPARE_WITH_TIMEOUT(client->state(), QLocalSocket::UnconnectedState, 3000);
        QCOMPARE(runPeer({"/after/the/burst"}), 0);
        QCOMPARE(opened.size(), 1);
    }

    void lockOfAKilledInstanceIsRecovered()
    {
        QProcess first;
        first.start(peerProgram_, {folder_.path()});
        QVERIFY(first.waitForReadyRead(10000));
        QCOMPARE(first.readLine(), QByteArray("running\n"));

        // While it lives, a later process hands over to it instead of taking the lock.
        SingleInstance later(folder_.path());
        QCOMPARE(later.start({}), SingleInstance::Outcome::HandedOver);

        ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished());
        QVERIFY(QFileInfo::exists(later.lockPath()));

        // The next one runs, and delivers its own files from the event loop.
        SingleInstance next(folder_.path());
        QSignalSpy opened(&next, &SingleInstance::openFilesRequested);
        QCOMPARE(next.start({Kind::OpenFiles, {"/own"}}), SingleInstance::Outcome::Running);
        QCOMPARE(opened.size(), 0);
        QTRY_COMPARE(opened.size(), 1);
        QCOMPARE(runPeer({"/after/recovery"}), 0);
        QCOMPARE(opened.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
