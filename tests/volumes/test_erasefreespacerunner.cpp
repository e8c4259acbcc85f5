// The volume helper runner with a stand-in helper that records its launches, and the real one.
#include "platform/Task.h"
#include "volumes/EraseFreeSpaceRunner.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <thread>

using namespace tolvex;

static VolDic volume(const QString& path)
{
    VolDic record;
    record.dskPath = path;
    return record;
}

class TestEraseFreeSpaceRunner : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // Records each launch's arguments, one per line, then waits until `release` exists.
    QString waitingHelper()
    {
        QFile script(dir_.filePath(QStringLiteral("fake-tolx-dm")));
        script.open(QIODevice::WriteOnly);
        script.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\" >> '%1'; done\n"
                                    "echo out; echo err >&2\n"
                                    "while [ ! -e '%2' ]; do sleep 0.02; done\n")
                         .arg(dir_.filePath("launches"), dir_.filePath("release"))
                         .toUtf8());
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return script.fileName();
    }

    QStringList launches()
    {
        QFile file(dir_.filePath("launches"));
        return file.open(QIODevice::ReadOnly)
                   ? QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
                   : QStringList();
    }

private Q_SLOTS:
    // A second call while the helper runs starts nothing; after the run the handle clears on
    // the main queue and the next call runs a new helper.
    void oneRunAtATime()
    {
        EraseFreeSpaceRunner runner(waitingHelper());
        for (const char* line : {"respStr > out", "error LOG >err", "Finished"})
            QTest::ignoreMessage(QtInfoMsg, line);
        const QString mountPath = QStringLiteral("/media/u/My Disk");
        std::thread first([&] { runner.runEraseFreeSpaceTask(volume(mountPath)); });
        QTRY_VERIFY(runner.eraseFrSpTask() && runner.eraseFrSpTask()->isRunning());
        const std::shared_ptr<Task> running = runner.eraseFrSpTask();

        std::thread second([&] { runner.runEraseFreeSpaceTask(volume("/other")); });
        second.join();
        QCOMPARE(runner.eraseFrSpTask(), running);

        QFile(dir_.filePath("release")).open(QIODevice::WriteOnly);
        first.join();
        QCOMPARE(launches(), QStringList({QStringLiteral("reformat"), mountPath}));
        QTRY_VERIFY(!runner.eraseFrSpTask());

        runner.runEraseFreeSpaceTask(volume("/other"));
        QCOMPARE(launches().size(), 4);
        QTRY_VERIFY(!runner.eraseFrSpTask());
    }

    // The real helper refuses every request without touching anything; a missing one leaves
    // the runner idle.
    void theRealHelperRefusesAndTheRunEnds()
    {
        EraseFreeSpaceRunner runner(qEnvironmentVariable("TOLVEX_BIN_DIR") + "/tolx-dm");
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression("^error LOG >tolx-dm: /: "));
        QTest::ignoreMessage(QtInfoMsg, "Terminated");
        runner.runEraseFreeSpaceTask(volume("/"));
        QTRY_VERIFY(!runner.eraseFrSpTask());
        EraseFreeSpaceRunner missing(dir_.filePath(QStringLiteral("missing")));
        missing.runEraseFreeSpaceTask(volume("/"));
        QVERIFY(!missing.eraseFrSpTask());
    }
};

QTEST_GUILESS_MAIN(TestEraseFreeSpaceRunner)
#include "test_erasefreespacerunner.moc"
