#pragma once

// Drives the scripted stand-in helper (fake_tolx) from a test.

#include "engine/ShredRuns.h"
#include "platform/NativePath.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

namespace tolvex::testing {

class RunnerScript {
public:
    explicit RunnerScript(const QString& folder)
        : scriptPath_(folder + QStringLiteral("/script")),
          launchLogPath_(folder + QStringLiteral("/launches"))
    {
        qputenv("TOLVEX_FAKE_TOLX_LOG", launchLogPath_.toUtf8());
    }
    ~RunnerScript()
    {
        qunsetenv("TOLVEX_FAKE_TOLX_SCRIPT");
        qunsetenv("TOLVEX_FAKE_TOLX_LOG");
    }

    // The commands the next launches of the stand-in follow.
    void set(const QStringList& commands) const
    {
        QFile script(scriptPath_);
        QVERIFY(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write(commands.join(u'\n').toUtf8() + '\n');
        qputenv("TOLVEX_FAKE_TOLX_SCRIPT", scriptPath_.toUtf8());
    }

    // One line per launch so far: its arguments, tab-separated.
    QStringList launches() const
    {
        QFile log(launchLogPath_);
        if (!log.open(QIODevice::ReadOnly)) {
            return {};
        }
        return decodeNativePath(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

private:
    QString scriptPath_;
    QString launchLogPath_;
};

// Calls a runner on a worker thread, as the global queue would, keeps the main queue turning
// until it has returned, and then until its completion work has run.
template <typename Runner> void runOnWorker(Runner&& runner)
{
    std::atomic<bool> returned = false;
    std::shared_future<void> completion;
    std::thread worker([&] {
        completion = runner();
        returned = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(returned, 60000);
    worker.join();
    if (completion.valid()) {
        QTRY_VERIFY_WITH_TIMEOUT(
            completion.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 60000);
    }
}

} // namespace tolvex::testing
