// The real `tolvex` against the single-instance channel: with a running Tolvex, a second launch
// hands its files over and exits 0; a lock left by a killed Tolvex does not stop the next one.
#include "platform/SingleInstance.h"

#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>

using namespace tolvex;

namespace {
constexpr int kFinishTimeoutMs = 20000;
} // namespace

class TestE2eSingleInstance : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    QTemporaryDir runtime_;

    QString program() const
    {
        return QDir(qEnvironmentVariable("TOLVEX_BIN_DIR"))
            .absoluteFilePath(QStringLiteral("tolvex"));
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), home_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral(".config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        return env;
    }

    void start(QProcess& process, const QStringList& arguments) const
    {
        process.setProcessEnvironment(environment());
        process.setWorkingDirectory(home_.path());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program(), arguments);
    }

    // Runs a launch to its end while this process's event loop keeps turning; its exit code.
    int launch(const QStringList& arguments)
    {
        QProcess process;
        start(process, arguments);
        QEventLoop loop;
        connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(kFinishTimeoutMs, &loop, &QEventLoop::quit);
        if (process.state() != QProcess::NotRunning) {
            loop.exec();
        }
        if (process.state() != QProcess::NotRunning ||
            process.exitStatus() != QProcess::NormalExit) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitCode();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QFile::exists(program()));
        QFile::setPermissions(runtime_.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void secondLaunchHandsItsFilesToTheRunningOne()
    {
        SingleInstance running(runtime_.path());
        QCOMPARE(running.start({}), SingleInstance::Outcome::Running);
        QSignalSpy opened(&running, &SingleInstance::openFilesRequested);
        QSignalSpy erased(&running, &SingleInstance::eraseFilesRequested);
        QSignalSpy reopened(&running, &SingleInstance::reopenRequested);

        QCOMPARE(launch({QStringLiteral("notes.txt"), QStringLiteral("/data/photo.jpg")}), 0);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().first().toStringList(),
                 QStringList({home_.filePath(QStringLiteral("notes.txt")),
                              QStringLiteral("/data/photo.jpg")}));

        QCOMPARE(launch({QStringLiteral("--erase"), QStringLiteral("/data/old")}), 0);
        QCOMPARE(erased.size(), 1);
        QCOMPARE(erased.first().first().toStringList(), QStringList{QStringLiteral("/data/old")});

        QCOMPARE(launch({}), 0);
        QCOMPARE(reopened.size(), 1);
    }

    void killedTolvexLeavesNoLockBehind()
    {
        QProcess first;
        start(first, {});
        QVERIFY(first.waitForStarted());
        // Once it listens, a later launch is handed over to it.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(runtime_.filePath(QStringLiteral("tolvex.socket"))),
                                 kFinishTimeoutMs);
        QCOMPARE(launch({QStringLiteral("--erase"), QStringLiteral("/data/x")}), 0);
        QCOMPARE(first.state(), QProcess::Running);

        ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished());
        QVERIFY(QFile::exists(runtime_.filePath(QStringLiteral("tolvex.lock"))));

        QProcess next;
        start(next, {});
        QVERIFY(next.waitForStarted());
        QTest::qWait(1500);
        QCOMPARE(next.state(), QProcess::Running);
        QCOMPARE(launch({QStringLiteral("/data/y")}), 0);
        next.kill();
        next.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestE2eSingleInstance)
#include "test_e2e_singleinstance.moc"
