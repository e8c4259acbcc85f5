#include "platform/RunningApplication.h"
#include "platform/Task.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <csignal>

using namespace tolvex;

namespace {

bool listed(const ApplicationPrograms& programs, qint64 pid)
{
    const QList<RunningApplication> running = RunningApplication::runningApplicationsOf(programs);
    return std::any_of(running.begin(), running.end(), [&](const RunningApplication& application) {
        return application.processIdentifier() == pid;
    });
}

} // namespace

// Harmless programs copied under a browser's executable name stand in for the browser; only
// the processes these tests start are ever signalled.
class TestRunningApplication : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QString copyAs(const QString& program, const QString& relative)
    {
        const QString copy = dir_.filePath(relative);
        QDir().mkpath(QFileInfo(copy).path());
        QFile::copy(program, copy);
        return copy;
    }

private Q_SLOTS:
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
};

QTEST_GUILESS_MAIN(TestRunningApplication)
#include "test_runningapplication.moc"
