#pragma once

// A desktop of a test's own for end-to-end tests: an Xvfb screen on the first free display
// number, a temporary home with its XDG folders, and the means to drive a program's window the
// way a user does (xdotool).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <functional>

namespace e2e {

inline constexpr int kStartTimeoutMs = 20000;

// What a tool said and how it ended, for checks that want all of it.
struct ToolRun {
    int exitCode = -1;
    QString output;
    QString errors;
};

inline ToolRun runTool(const QString& program, const QStringList& arguments,
                       const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    // No time limit of its own: a package build or lintian may take a while, and CTest ends a
    // test that hangs.
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        return {-1, {}, process.errorString()};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// An Xvfb server on a display number it picks itself, so that tests running side by side never
// share one.
class VirtualScreen {
public:
    bool start()
    {
        server_.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1024x768x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        // The number arrives once the server takes connections.
        QByteArray number;
        while (!number.endsWith('\n') && server_.waitForReadyRead(kStartTimeoutMs))
            number += server_.readAllStandardOutput();
        if (!number.endsWith('\n'))
            return false;
        display_ = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
        return true;
    }

    ~VirtualScreen()
    {
        if (server_.state() != QProcess::NotRunning) {
            server_.terminate();
            server_.waitForFinished();
        }
    }

    QString display() const { return display_; }

private:
    QProcess server_;
    QString display_;
};

class DesktopSession {
public:
    // Call from initTestCase.
    void start()
    {
        for (const char* tool : {"Xvfb", "xdotool", "import"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QFAIL(qPrintable(QStringLiteral("%1 is missing: run scripts/setup-deps")
                                     .arg(QLatin1String(tool))));
        QVERIFY(home_.isValid() && runtime_.isValid());
        QFile::setPermissions(runtime_.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(screen_.start(), "no Xvfb display could be started");
        // The server names its display before it answers clients; a program started at once
        // on a busy machine could find nobody there.
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         return !run(QStringLiteral("xdotool"),
                                     {QStringLiteral("getdisplaygeometry")})
                                     .isEmpty();
                     },
                     kStartTimeoutMs),
                 "the Xvfb display does not answer");
    }

    QString homePath(const QString& name) const { return home_.filePath(name); }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), screen_.display());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("HOME"), home_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral(".config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home_.filePath(QStringLiteral(".local/share")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home_.filePath(QStringLiteral(".cache")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        return env;
    }

    // Runs a tool on the virtual screen; its standard output, trimmed.
    QString run(const QString& program, const QStringList& arguments) const
    {
        const ToolRun tool = runTool(program, arguments, environment());
        return tool.exitCode == 0 ? tool.output.trimmed() : QString();
    }

    // The first visible window of a program; by default Tolvex's main window, by its title.
    QString findWindow(const QStringList& criteria = {QStringLiteral("--name"),
                                                      QStringLiteral("^Tolvex$")}) const
    {
        QString id;
        const auto found = [&] {
            id = run(QStringLiteral("xdotool"),
                     QStringList{QStringLiteral("search"), QStringLiteral("--onlyvisible")} +
                         criteria)
                     .section(QLatin1Char('\n'), 0, 0);
            return !id.isEmpty();
        };
        return QTest::qWaitFor(found, kStartTimeoutMs) ? id : QString();
    }

    // The window's picture now, kept in the build folder as `name`; blank when none was taken.
    QImage picture(const QString& window, const QString& name = QStringLiteral("picture.png")) const
    {
        const QString path = QDir(qEnvironmentVariable("TOLVEX_BIN_DIR"))
                                 .absoluteFilePath(QStringLiteral("../") + name);
        QFile::remove(path);
        run(QStringLiteral("import"), {QStringLiteral("-window"), window, path});
        return QImage(path);
    }

    // The share of pixels that differ between two pictures of the same window.
    static double differingShare(const QImage& a, const QImage& b)
    {
        if (a.size() != b.size() || a.isNull())
            return 1.0;
        qint64 differing = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                differing += a.pixel(x, y) != b.pixel(x, y);
        return double(differing) / (qint64(a.width()) * a.height());
    }

    // Waits until the window looks different from `before` (a screen opened or closed).
    bool changesFrom(const QString& window, const QImage& before) const
    {
        return QTest::qWaitFor([&] { return differingShare(picture(window), before) > 0.2; },
                               kStartTimeoutMs);
    }

    void click(const QString& window, QPoint at) const
    {
        run(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("--window"),
             window, QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
             QStringLiteral("1")});
    }

    void key(const QString& window, const QString& keys) const
    {
        run(QStringLiteral("xdotool"),
            {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        run(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
    }

    // The main road as a user takes it: a file that "Erase with Tolvex" sends to the running
    // program (a name relative to the home folder, as the desktop gives it) joins the default
    // method's list, `whileListed` runs on the window, and Return shreds the file for real.
    void shredAFileErasedWith(const QString& program,
                              const std::function<void(const QString& window, const QString& file)>&
                                  whileListed = {}) const
    {
        const QString settingsFolder = home_.filePath(QStringLiteral(".config/Tolvex"));
        QVERIFY(QDir().mkpath(settingsFolder));
        QFile settings(settingsFolder + QStringLiteral("/Tolvex.conf"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[General]\nkDefaultShreddingEnbled=true\nkSelectedDefShredMethodInd=0\n"
                       "windowIsVert_cal=false\n");
        settings.close();
        const QString secret = home_.filePath(QStringLiteral("Documents/secret.txt"));
        QVERIFY(QDir().mkpath(QFileInfo(secret).path()));
        QFile file(secret);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(64 * 1024, 'S'));
        file.close();

        QProcess app;
        app.setProcessEnvironment(environment());
        app.setProcessChannelMode(QProcess::ForwardedChannels);
        app.start(program, {});
        QVERIFY(app.waitForStarted());
        const QString window = findWindow();
        QVERIFY2(!window.isEmpty(), "the window did not appear");

        QProcess second;
        second.setProcessEnvironment(environment());
        second.setWorkingDirectory(home_.path());
        second.start(program, {QStringLiteral("--erase"), QStringLiteral("Documents/secret.txt")});
        QVERIFY(second.waitForFinished(kStartTimeoutMs));
        QCOMPARE(second.exitCode(), 0);
        if (whileListed) {
            whileListed(window, secret);
            if (QTest::currentTestFailed())
                return;
        }

        // The request is gathered for a moment before it joins the list; Return on an empty
        // list only says so, so press again until the file goes.
        bool shredded = false;
        for (int attempt = 0; attempt < 10 && !shredded; ++attempt) {
            key(window, QStringLiteral("Return"));
            shredded = QTest::qWaitFor([&] { return !QFile::exists(secret); }, 2000);
        }
        QVERIFY2(shredded, "Return did not shred the opened file");

        key(window, QStringLiteral("ctrl+q"));
        QVERIFY2(app.waitForFinished(kStartTimeoutMs), "Ctrl+Q did not end the program");
        QCOMPARE(app.exitCode(), 0);
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QVERIFY(settings.readAll().contains("kTotalShredDataDic"));
    }

private:
    VirtualScreen screen_;
    QTemporaryDir home_;
    QTemporaryDir runtime_;
};

} // namespace e2e
