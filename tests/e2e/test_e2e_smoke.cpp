// Starts the built program on a virtual X screen of its own, with a temporary home and settings,
// photographs its window in both layouts, shreds a file that a second launch hands to it, checks
// that Ctrl+Return in the open editor shreds nothing, and quits it with Ctrl+Q; without a private
// folder for its lock, it says why in a window.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <pwd.h>
#include <unistd.h>

namespace {

constexpr int kStartTimeoutMs = 20000;
// In the horizontal layout: the big label of the 1-pass zone, the editor's search field and its
// closing button.
constexpr QPoint kOnePassLabel(84, 140);
constexpr QPoint kEditorSearchField(250, 80);
constexpr QPoint kEditorDone(443, 312);

QString binDir()
{
    return qEnvironmentVariable("TOLVEX_BIN_DIR");
}

// An Xvfb server on a display number that it picks itself and tells on its standard output.
class VirtualScreen {
public:
    bool start()
    {
        server_.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1024x768x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!server_.waitForReadyRead(kStartTimeoutMs))
            return false;
        display_ = QStringLiteral(":") + QString::fromLatin1(server_.readLine().trimmed());
        return display_.size() > 1;
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

} // namespace

class TestE2eSmoke : public QObject {
    Q_OBJECT

private:
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

    // Runs a helper tool on the virtual screen; its standard output, trimmed.
    QString run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(program, arguments);
        if (!process.waitForFinished(kStartTimeoutMs) || process.exitCode() != 0)
            return {};
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    // The first visible window of the program; by default the main one, by its title.
    QString findWindow(const QStringList& criteria = {QStringLiteral("--name"),
                                                      QStringLiteral("^Tolvex$")})
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
    QImage picture(const QString& window, const QString& name = QStringLiteral("picture.png"))
    {
        const QString path = QDir(binDir()).absoluteFilePath(QStringLiteral("../") + name);
        QFile::remove(path);
        run(QStringLiteral("import"), {QStringLiteral("-window"), window, path});
        return QImage(path);
    }

    // Photographs the window once it shows something: a blank window is one or two colours; the
    // zones, labels and artwork make many.
    void screenshot(const QString& window, const QString& name)
    {
        const auto colours = [&] {
            const QImage image = picture(window, name);
            QSet<QRgb> seen;
            for (int y = 0; y < image.height(); y += 2)
                for (int x = 0; x < image.width(); x += 2)
                    seen.insert(image.pixel(x, y));
            return seen.size();
        };
        QVERIFY2(QTest::qWaitFor([&] { return colours() > 20; }, kStartTimeoutMs),
                 qPrintable(QStringLiteral("%1 colours only in %2").arg(colours()).arg(name)));
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

    void click(const QString& window, QPoint at)
    {
        run(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("--window"),
             window, QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
             QStringLiteral("1")});
    }

    void key(const QString& window, const QString& keys)
    {
        run(QStringLiteral("xdotool"),
            {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        run(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
    }

    VirtualScreen screen_;
    QTemporaryDir home_;
    QTemporaryDir runtime_;

private Q_SLOTS:
    void initTestCase()
    {
        for (const char* tool : {"Xvfb", "xdotool", "import"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QFAIL(qPrintable(QStringLiteral("%1 is missing: run scripts/setup-deps")
                                     .arg(QLatin1String(tool))));
        QVERIFY(home_.isValid() && runtime_.isValid());
        QFile::setPermissions(runtime_.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(screen_.start(), "no Xvfb display could be started");
    }

    // The main road as a user takes it: the window in both layouts; a file that "Erase with
    // Tolvex" sends to the running program joins the default method's list, Ctrl+Return typed in
    // the open editor leaves it alone, and Return shreds it for real; Ctrl+Q quits.
    void startsShredsAnOpenedFileAndKeepsKeysInTheEditor()
    {
        const QString settingsFolder = home_.filePath(QStringLiteral(".config/Tolvex"));
        QVERIFY(QDir().mkpath(settingsFolder));
        QFile settings(settingsFolder + QStringLiteral("/Tolvex.conf"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[General]\nkDefaultShreddingEnbled=true\nkSelectedDefShredMethodInd=0\n");
        settings.close();
        const auto settingsHold = [&settings](const QByteArray& text) {
            settings.open(QIODevice::ReadOnly);
            const bool held = settings.readAll().contains(text);
            settings.close();
            return held;
        };
        const QString secret = home_.filePath(QStringLiteral("Documents/secret.txt"));
        QVERIFY(QDir().mkpath(QFileInfo(secret).path()));
        QFile file(secret);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(64 * 1024, 'S'));
        file.close();

        QProcess app;
        app.setProcessEnvironment(environment());
        app.setProcessChannelMode(QProcess::ForwardedChannels);
        const QString program = QDir(binDir()).absoluteFilePath(QStringLiteral("tolvex"));
        app.start(program, {});
        QVERIFY(app.waitForStarted());
        const QString window = findWindow();
        QVERIFY2(!window.isEmpty(), "the window did not appear");
        QTRY_COMPARE_WITH_TIMEOUT(picture(window).size(), QSize(500, 338), kStartTimeoutMs);
        screenshot(window, QStringLiteral("screenshot-horizontal.png"));
        const QImage horizontal = picture(window);
        key(window, QStringLiteral("ctrl+Down"));
        QTRY_COMPARE_WITH_TIMEOUT(picture(window).size(), QSize(280, 620), kStartTimeoutMs);
        screenshot(window, QStringLiteral("screenshot-vertical.png"));
        key(window, QStringLiteral("ctrl+Up"));
        // Back in a row once the zones have moved there.
        QVERIFY(QTest::qWaitFor([&] { return differingShare(picture(window), horizontal) < 0.01; },
                                kStartTimeoutMs));

        // "Erase with Tolvex" from the home folder, as the desktop does with a relative name.
        QProcess second;
        second.setProcessEnvironment(environment());
        second.setWorkingDirectory(home_.path());
        second.start(program, {QStringLiteral("--erase"), QStringLiteral("Documents/secret.txt")});
        QVERIFY(second.waitForFinished(kStartTimeoutMs));
        QCOMPARE(second.exitCode(), 0);

        // Ctrl+Return typed in the open editor's search field shreds nothing.
        const auto changedFrom = [&](const QImage& before) {
            return QTest::qWaitFor([&] { return differingShare(picture(window), before) > 0.2; },
                                   kStartTimeoutMs);
        };
        const QImage mainWindow = picture(window);
        click(window, kOnePassLabel);
        QVERIFY2(changedFrom(mainWindow), "the editor did not open");
        click(window, kEditorSearchField);
        const QImage editor = picture(window);
        key(window, QStringLiteral("ctrl+Return"));
        QVERIFY2(!QTest::qWaitFor([&] { return !QFile::exists(secret); }, 2000),
                 "Ctrl+Return in the editor shredded the list");
        QVERIFY(differingShare(picture(window), editor) < 0.01);
        click(window, kEditorDone);
        QVERIFY2(changedFrom(editor), "the editor did not close");

        // Return shreds the file for real; it may take a moment to join its list.
        bool shredded = false;
        for (int attempt = 0; attempt < 10 && !shredded; ++attempt) {
            key(window, QStringLiteral("Return"));
            shredded = QTest::qWaitFor([&] { return !QFile::exists(secret); }, 2000);
        }
        QVERIFY2(shredded, "Return did not shred the file");
        QTRY_VERIFY_WITH_TIMEOUT(settingsHold("kTotalShredDataDic"), kStartTimeoutMs);
        key(window, QStringLiteral("ctrl+q"));
        QVERIFY2(app.waitForFinished(kStartTimeoutMs), "Ctrl+Q did not end the program");
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 0);
        // The layout chosen last is the one the settings keep for the next start.
        QCOMPARE(QDir(settingsFolder).entryList(QDir::Files),
                 QStringList{QStringLiteral("Tolvex.conf")});
        QVERIFY(settingsHold("windowIsVert_cal=false"));
    }

    // With no private folder for its lock, Tolvex says why in a window and leaves once it is read.
    void withoutAPrivateFolderItSaysWhyInAWindow()
    {
        QTemporaryDir scratch;
        // The usual stand-in for the runtime folder is taken, and the cache is a file.
        QFile taken(scratch.filePath(QStringLiteral("runtime-") + getpwuid(geteuid())->pw_name));
        QFile cache(scratch.filePath(QStringLiteral("cache")));
        QVERIFY(taken.open(QIODevice::WriteOnly) && cache.open(QIODevice::WriteOnly));
        QProcessEnvironment env = environment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.insert(QStringLiteral("TMPDIR"), scratch.path());
        env.insert(QStringLiteral("XDG_CACHE_HOME"), cache.fileName());
        QProcess app;
        app.setProcessEnvironment(env);
        app.start(QDir(binDir()).absoluteFilePath(QStringLiteral("tolvex")), {});
        const QString window = findWindow({QStringLiteral("--class"), QStringLiteral("tolvex")});
        QVERIFY2(!window.isEmpty(), "no window told why Tolvex cannot start");
        key(window, QStringLiteral("Return"));
        QVERIFY(app.waitForFinished(kStartTimeoutMs));
        QCOMPARE(app.exitCode(), 1);
    }
};

QTEST_GUILESS_MAIN(TestE2eSmoke)
#include "test_e2e_smoke.moc"
