#pragma once

// A desktop of a test's own for end-to-end tests: an Xvfb screen on the first free display
// number, a temporary home with its XDG folders, and the means to drive a program's window the
// way a user does (xdotool).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
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

inline bool writeTo(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(content) == content.size();
}

class DesktopSession {
public:
    // Call from initTestCase.
    void start()
    {
        for (const QString tool : {"Xvfb", "xdotool", "import"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QFAIL(qPrintable(tool + " is missing: run scripts/setup-deps"));
        QVERIFY(home_.isValid() && runtime_.isValid());
        QFile::setPermissions(runtime_.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // A display number the server picks itself, so that tests running side by side never
        // share one; it arrives once the server takes connections. Without -noreset the server
        // starts afresh whenever its last client leaves and refuses clients meanwhile, so that
        // a program started just after a tool's visit could find no display.
        server_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                               "-noreset"});
        QByteArray number;
        while (!number.endsWith('\n') && server_.waitForReadyRead(kStartTimeoutMs))
            number += server_.readAllStandardOutput();
        QVERIFY2(number.endsWith('\n'), "no Xvfb display could be started");
        display_ = ':' + QString::fromLatin1(number.trimmed());
    }

    ~DesktopSession()
    {
        server_.terminate();
        server_.waitForFinished();
    }

    QString homePath(const QString& name) const { return home_.filePath(name); }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display_);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("HOME", home_.path());
        env.insert("XDG_CONFIG_HOME", home_.filePath(".config"));
        env.insert("XDG_DATA_HOME", home_.filePath(".local/share"));
        env.insert("XDG_CACHE_HOME", home_.filePath(".cache"));
        env.insert("XDG_RUNTIME_DIR", runtime_.path());
        env.remove("WAYLAND_DISPLAY");
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        return env;
    }

    // Runs a tool on the virtual screen; its standard output, trimmed.
    QString run(const QString& program, const QStringList& arguments) const
    {
        const ToolRun tool = runTool(program, arguments, environment());
        return tool.exitCode == 0 ? tool.output.trimmed() : QString();
    }

    // The first visible window of a program; by default Tolvex's main window, by its title.
    QString findWindow(const QStringList& criteria = {"--name", "^Tolvex$"}) const
    {
        QString id;
        const auto found = [&] {
            id = run("xdotool", QStringList{"search", "--onlyvisible"} + criteria)
                     .section('\n', 0, 0);
            return !id.isEmpty();
        };
        return QTest::qWaitFor(found, kStartTimeoutMs) ? id : QString();
    }

    // The window's picture now, kept in the build folder as `name` when one is given; blank when
    // none was taken. Tests side by side share the build folder, so an unnamed picture stays in
    // the session's own.
    QImage picture(const QString& window, const QString& name = {}) const
    {
        const QString path =
            name.isEmpty()
                ? runtime_.filePath("picture.png")
                : QDir(qEnvironmentVariable("TOLVEX_BIN_DIR")).absoluteFilePath("../" + name);
        QFile::remove(path);
        run("import", {"-window", window, path});
        return QImage(path);
    }

    // The window's picture once it shows something and has settled (the zones glide to a new
    // layout): a blank window is one or two colours; the zones, labels and artwork make many.
    // Null when it never settled.
    QImage settledPicture(const QString& window, const QString& name = {}) const
    {
        const auto colours = [](const QImage& image) {
            QSet<QRgb> seen;
            for (int y = 0; y < image.height(); y += 2)
                for (int x = 0; x < image.width(); x += 2)
                    seen.insert(image.pixel(x, y));
            return seen.size();
        };
        QImage last;
        const auto settled = [&] {
            const QImage image = picture(window, name);
            const bool same = image == last;
            last = image;
            return same && colours(image) > 20;
        };
        return QTest::qWaitFor(settled, kStartTimeoutMs) ? last : QImage();
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
        run("xdotool", {"mousemove", "--sync", "--window", window, QString::number(at.x()),
                        QString::number(at.y()), "click", "1"});
    }

    void key(const QString& window, const QString& keys) const
    {
        run("xdotool", {"windowfocus", "--sync", window});
        run("xdotool", {"key", keys});
    }

    // The main road as a user takes it: a file that "Erase with Tolvex" sends to the running
    // program (a name relative to the home folder, as the desktop gives it) joins the default
    // method's list, `whileListed` runs on the window, and Return shreds the file for real.
    void shredAFileErasedWith(const QString& program,
                              const std::function<void(const QString& window, const QString& file)>&
                                  whileListed = {}) const
    {
        const QString settings = home_.filePath(".config/Tolvex/Tolvex.conf");
        const QString secret = home_.filePath("Documents/secret.txt");
        QVERIFY(writeTo(settings, "[General]\nkDefaultShreddingEnbled=true\n"
                                  "kSelectedDefShredMethodInd=0\nwindowIsVert_cal=false\n") &&
                writeTo(secret, QByteArray(64 * 1024, 'S')));
        QProcess app;
        app.setProcessEnvironment(environment());
        app.setProcessChannelMode(QProcess::ForwardedChannels);
        app.start(program, {});
        const QString window = findWindow();
        QVERIFY2(app.waitForStarted() && !window.isEmpty(), "the window did not appear");

        // The list shows a file once it has joined it: the request is gathered for a moment.
        // The window is first seen drawn, so that its first drawing is not taken for the file.
        const QImage empty = settledPicture(window);
        QVERIFY2(!empty.isNull(), "the window was never drawn");
        QProcess second;
        second.setProcessEnvironment(environment());
        second.setWorkingDirectory(home_.path());
        second.start(program, {"--erase", "Documents/secret.txt"});
        QVERIFY(second.waitForFinished(kStartTimeoutMs) && second.exitCode() == 0);
        QVERIFY2(QTest::qWaitFor([&] { return differingShare(picture(window), empty) > 0; },
                                 kStartTimeoutMs),
                 "the file never showed on the list");
        if (whileListed) {
            whileListed(window, secret);
            if (QTest::currentTestFailed())
                return;
        }

        key(window, "Return");
        const bool shredded =
            QTest::qWaitFor([&] { return !QFile::exists(secret); }, kStartTimeoutMs);
        QVERIFY2(shredded, "Return did not shred the opened file");
        // The file is gone a moment before the helper reports the run finished and its totals
        // are kept; a quit in between would rightly stop the run unrecorded.
        const auto recorded = [&settings] {
            QFile saved(settings);
            return saved.open(QIODevice::ReadOnly) &&
                   saved.readAll().contains("kTotalShredDataDic");
        };
        QVERIFY2(QTest::qWaitFor(recorded, kStartTimeoutMs), "the run's totals were not kept");

        key(window, "ctrl+q");
        QVERIFY2(app.waitForFinished(kStartTimeoutMs), "Ctrl+Q did not end the program");
        QCOMPARE(app.exitCode(), 0);
    }

private:
    QProcess server_;
    QString display_;
    QTemporaryDir home_;
    QTemporaryDir runtime_;
};

} // namespace e2e
