// The real `tolvex` against the single-instance channel: with a running Tolvex, a second launch
// hands its files over and exits 0.
#include "platform/SingleInstance.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

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

    // Runs a launch to its end while this process's event loop keeps turning; its exit code.
    int launch(const QStringList& arguments)
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.setWorkingDirectory(home_.path());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program(), arguments);
        if (!process.waitForStarted() ||
            !QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; },
                             kFinishTimeoutMs)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
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
};

QTEST_GUILESS_MAIN(TestE2eSingleInstance)
#include "test_e2e_singleinstance.moc"
