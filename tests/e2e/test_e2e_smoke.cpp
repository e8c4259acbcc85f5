// Starts the built program on a virtual X screen of its own, with a temporary home and settings,
// photographs its window in both layouts, with a compositor's shadow and without, shreds a file
// that a second launch hands to it, checks that Ctrl+Return in the open editor shreds nothing, and
// quits it with Ctrl+Q; without a private folder for its lock, it says why in a window.

#include "DesktopSession.h"

#include <QImage>
#include <pwd.h>
#include <unistd.h>

using namespace e2e;

namespace {

// In the horizontal layout: the big label of the 1-pass zone, the editor's search field and its
// closing button.
constexpr QPoint kOnePassLabel(84, 140);
constexpr QPoint kEditorSearchField(250, 80);
constexpr QPoint kEditorDone(443, 312);

QString program()
{
    return QDir(qEnvironmentVariable("TOLVEX_BIN_DIR")).absoluteFilePath("tolvex");
}

} // namespace

class TestE2eSmoke : public QObject {
    Q_OBJECT

private:
    // Photographs the window once it has settled.
    void screenshot(const QString& window, const QString& name)
    {
        QVERIFY2(!session_.settledPicture(window, name).isNull(), qPrintable(name));
    }

    DesktopSession session_;

private Q_SLOTS:
    void initTestCase() { session_.start(); }

    void startsShowsBothLayoutsAndQuitsWithCtrlQ()
    {
        QProcess app;
        app.setProcessEnvironment(session_.environment());
        app.setProcessChannelMode(QProcess::ForwardedChannels);
        app.start(program(), {});
        QVERIFY(app.waitForStarted());

        const QString window = session_.findWindow();
        QVERIFY2(!window.isEmpty(), "the window did not appear");
        QTRY_COMPARE_WITH_TIMEOUT(session_.picture(window).size(), QSize(500, 338),
                                  kStartTimeoutMs);
        screenshot(window, "screenshot-horizontal.png");
        session_.key(window, "ctrl+Down");
        QTRY_COMPARE_WITH_TIMEOUT(session_.picture(window).size(), QSize(280, 620),
                                  kStartTimeoutMs);
        screenshot(window, "screenshot-vertical.png");

        session_.key(window, "ctrl+q");
        QVERIFY2(app.waitForFinished(kStartTimeoutMs), "Ctrl+Q did not end the program");
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 0);

        // The layout chosen last is the one the settings keep for the next start.
        const QDir settingsFolder(session_.homePath(".config/Tolvex"));
        QCOMPARE(settingsFolder.entryList(QDir::Files), QStringList{"Tolvex.conf"});
        QFile settings(settingsFolder.filePath("Tolvex.conf"));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QVERIFY(settings.readAll().contains("windowIsVert_cal=true"));
    }

    // Under a compositing manager the window casts its shadow in margins around its surface,
    // which keeps each layout's size; the shadow goes with the compositor.
    void underACompositorTheWindowCastsAShadow()
    {
        QVERIFY(writeTo(session_.homePath(".config/Tolvex/Tolvex.conf"),
                        "[General]\nwindowIsVert_cal=false\n"));
        QProcess compositor;
        compositor.setProcessEnvironment(session_.environment());
        compositor.start("xcompmgr", {});
        QVERIFY2(compositor.waitForStarted(), "xcompmgr is missing: run scripts/setup-deps");
        QProcess app;
        app.setProcessEnvironment(session_.environment());
        app.start(program(), {});
        const QString window = session_.findWindow();
        QVERIFY2(app.waitForStarted() && !window.isEmpty(), "the window did not appear");

        // The whole window, also where it reaches past the screen's edge.
        const auto windowSize = [&] {
            const QString shell = session_.run("xdotool", {"getwindowgeometry", "--shell", window});
            const auto value = [&](const QString& key) {
                return shell.section(key + '=', 1).section('\n', 0, 0).toInt();
            };
            return QSize(value("WIDTH"), value("HEIGHT"));
        };
        const QMargins shadow(24, 16, 24, 32);
        QTRY_COMPARE_WITH_TIMEOUT(windowSize(), QSize(500, 338).grownBy(shadow), kStartTimeoutMs);
        // The screen as the user sees it: a window's own picture has no shadow to show.
        screenshot("root", "screenshot-composited-horizontal.png");
        session_.key(window, "ctrl+Down");
        QTRY_COMPARE_WITH_TIMEOUT(windowSize(), QSize(280, 620).grownBy(shadow), kStartTimeoutMs);
        screenshot("root", "screenshot-composited-vertical.png");
        compositor.terminate();
        compositor.waitForFinished();
        QTRY_COMPARE_WITH_TIMEOUT(windowSize(), QSize(280, 620), kStartTimeoutMs);

        session_.key(window, "ctrl+q");
        QVERIFY2(app.waitForFinished(kStartTimeoutMs), "Ctrl+Q did not end the program");
    }

    // Ctrl+Return typed in the open editor's search field shreds nothing; once the editor is
    // closed, Return shreds the file.
    void keysTypedInTheEditorStayThereAndReturnShredsAfterwards()
    {
        session_.shredAFileErasedWith(program(), [&](const QString& window, const QString& file) {
            const QImage mainWindow = session_.picture(window);
            session_.click(window, kOnePassLabel);
            QVERIFY2(session_.changesFrom(window, mainWindow), "the editor did not open");
            session_.click(window, kEditorSearchField);
            const QImage editor = session_.picture(window);
            session_.key(window, "ctrl+Return");
            QVERIFY2(!QTest::qWaitFor([&] { return !QFile::exists(file); }, 2000),
                     "Ctrl+Return in the editor shredded the list");
            QVERIFY(DesktopSession::differingShare(session_.picture(window), editor) < 0.01);
            session_.click(window, kEditorDone);
            QVERIFY2(session_.changesFrom(window, editor), "the editor did not close");
        });
    }

    // With no private folder for its lock, Tolvex says why in a window and leaves once it is read.
    void withoutAPrivateFolderItSaysWhyInAWindow()
    {
        QTemporaryDir scratch;
        // The usual stand-in for the runtime folder is taken, and the cache is a file.
        const passwd* user = getpwuid(geteuid());
        QVERIFY(user);
        QFile taken(scratch.filePath(QStringLiteral("runtime-") + user->pw_name));
        QFile cache(scratch.filePath("cache"));
        QVERIFY(taken.open(QIODevice::WriteOnly) && cache.open(QIODevice::WriteOnly));
        QProcessEnvironment env = session_.environment();
        env.remove("XDG_RUNTIME_DIR");
        env.insert("TMPDIR", scratch.path());
        env.insert("XDG_CACHE_HOME", cache.fileName());
        QProcess app;
        app.setProcessEnvironment(env);
        app.start(program(), {});
        const QString window = session_.findWindow({"--class", "tolvex"});
        QVERIFY2(!window.isEmpty(), "no window told why Tolvex cannot start");
        session_.key(window, "Return");
        QVERIFY(app.waitForFinished(kStartTimeoutMs));
        QCOMPARE(app.exitCode(), 1);
    }
};

QTEST_GUILESS_MAIN(TestE2eSmoke)
#include "test_e2e_smoke.moc"
