// Runs the built program on a Wayland compositor of the test's own (weston, headless), with no X
// display at all: it shows its window, a file sent by a second `tolvex --erase` reaches it (it
// draws the method chooser on its idle window), and it ends in order when asked to.
// The client's protocol trace (WAYLAND_DEBUG) shows what it put on the screen.
#include "DesktopSession.h"

#include <csignal>

using namespace e2e;

constexpr int kIdleMs = 1000;

class TestWayland : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    QTemporaryDir runtime_;
    QProcess compositor_;
    QProcessEnvironment env_ = QProcessEnvironment::systemEnvironment();

    QString program() const
    {
        return QDir(qEnvironmentVariable("TOLVEX_BIN_DIR")).absoluteFilePath("tolvex");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable("weston").isEmpty(),
                 "weston is missing: run scripts/setup-deps");
        QFile::setPermissions(runtime_.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env_.insert("XDG_RUNTIME_DIR", runtime_.path());
        env_.insert("HOME", home_.path());
        env_.insert("XDG_CONFIG_HOME", home_.filePath(".config"));
        env_.insert("XDG_DATA_HOME", home_.filePath(".local/share"));
        env_.insert("XDG_CACHE_HOME", home_.filePath(".cache"));
        env_.insert("WAYLAND_DISPLAY", "wayland-tolvex");
        env_.insert("QT_QPA_PLATFORM", "wayland");
        env_.remove("DISPLAY");
        env_.remove("DBUS_SESSION_BUS_ADDRESS");
        compositor_.setProcessEnvironment(env_);
        compositor_.start("weston", {"--backend=headless-backend.so", "--socket=wayland-tolvex",
                                     "--idle-time=0", "--no-config"});
        QVERIFY2(QTest::qWaitFor([&] { return QFile::exists(runtime_.filePath("wayland-tolvex")); },
                                 kStartTimeoutMs),
                 qPrintable("weston did not start: " + compositor_.readAllStandardError()));
    }

    void cleanupTestCase()
    {
        compositor_.terminate();
        compositor_.waitForFinished();
    }

    void showsItsWindowTakesAnErasedFileAndEndsWhenAsked()
    {
        QProcess app;
        QProcessEnvironment traced = env_;
        traced.insert("WAYLAND_DEBUG", "client");
        app.setProcessEnvironment(traced);
        app.start(program(), {});
        QByteArray trace;
        const auto traceShows = [&](const QByteArray& request, qsizetype from) {
            return QTest::qWaitFor(
                [&] {
                    trace += app.readAllStandardError();
                    return trace.indexOf(request, from) >= 0;
                },
                kStartTimeoutMs);
        };
        QVERIFY2(traceShows(R"(.set_title("Tolvex"))", 0), "no window was made");
        QVERIFY2(traceShows(".attach(wl_buffer@", trace.indexOf(".set_title(")),
                 "the window was never drawn");

        // An idle window draws nothing, so a frame after the request is the chooser's.
        QTest::qWait(kIdleMs);
        trace += app.readAllStandardError();
        const qsizetype idle = trace.lastIndexOf(".attach(wl_buffer@");
        QTest::qWait(kIdleMs);
        trace += app.readAllStandardError();
        QCOMPARE(trace.lastIndexOf(".attach(wl_buffer@"), idle);

        QVERIFY(writeTo(home_.filePath("secret.txt"), "secret"));
        QProcess second;
        second.setProcessEnvironment(env_);
        second.setWorkingDirectory(home_.path());
        second.start(program(), {"--erase", "secret.txt"});
        QVERIFY(second.waitForFinished(kStartTimeoutMs));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY2(traceShows(".attach(wl_buffer@", trace.size()),
                 "the running Tolvex did not ask which method to use");

        QCOMPARE(::kill(pid_t(app.processId()), SIGTERM), 0);
        QVERIFY2(app.waitForFinished(kStartTimeoutMs), "the program did not end");
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 0);
        QVERIFY(QFile::exists(home_.filePath("secret.txt")));
    }
};

QTEST_GUILESS_MAIN(TestWayland)
#include "test_wayland.moc"
