// Starts the built program on a virtual X screen of its own, with a temporary home and settings,
// photographs its window in both layouts, and quits it with Ctrl+Q as a user would.

#include "DesktopSession.h"

#include <QImage>
#include <QSet>

using namespace e2e;

namespace {

QString binDir()
{
    return qEnvironmentVariable("TOLVEX_BIN_DIR");
}

} // namespace

class TestE2eSmoke : public QObject {
    Q_OBJECT

private:
    // Photographs the window into the build folder and checks that it shows something.
    void screenshot(const QString& window, const QString& name)
    {
        const QString path = QDir(binDir()).absoluteFilePath(QStringLiteral("../%1").arg(name));
        QFile::remove(path);
        session_.run(QStringLiteral("import"), {QStringLiteral("-window"), window, path});
        QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(QStringLiteral("no screenshot at ") + path));
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                colours.insert(image.pixel(x, y));
        // A blank window is one or two colours; the zones, labels and artwork make many.
        QVERIFY2(colours.size() > 20,
                 qPrintable(QStringLiteral("%1 colours only in %2").arg(colours.size()).arg(path)));
    }

    DesktopSession session_;

private Q_SLOTS:
    void initTestCase() { session_.start(); }

    void startsShowsBothLayoutsAndQuitsWithCtrlQ()
    {
        QProcess app;
        app.setProcessEnvironment(session_.environment());
        app.setProcessChannelMode(QProcess::ForwardedChannels);
        app.start(QDir(binDir()).absoluteFilePath(QStringLiteral("tolvex")), {});
        QVERIFY(app.waitForStarted());

        const QString window = session_.findWindow();
        QVERIFY2(!window.isEmpty(), "the window did not appear");
        QTRY_COMPARE_WITH_TIMEOUT(session_.windowSize(window), QSize(500, 338), kStartTimeoutMs);
        QThread::msleep(500);
        screenshot(window, QStringLiteral("screenshot-horizontal.png"));

        session_.key(window, QStringLiteral("ctrl+Down"));
        QTRY_COMPARE_WITH_TIMEOUT(session_.windowSize(window), QSize(280, 620), kStartTimeoutMs);
        QThread::msleep(500);
        screenshot(window, QStringLiteral("screenshot-vertical.png"));

        session_.key(window, QStringLiteral("ctrl+q"));
        QVERIFY2(app.waitForFinished(kStartTimeoutMs), "Ctrl+Q did not end the program");
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 0);

        // The layout chosen last is the one the settings keep for the next start.
        const QDir settingsFolder(session_.homePath(QStringLiteral(".config/Tolvex")));
        QCOMPARE(settingsFolder.entryList(QDir::Files), QStringList{QStringLiteral("Tolvex.conf")});
        QFile settings(settingsFolder.filePath(QStringLiteral("Tolvex.conf")));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QVERIFY(settings.readAll().contains("windowIsVert_cal=true"));
    }

    void shredsAFileOpenedWithTheRunningProgram()
    {
        session_.shredAFileOpenedWith(QDir(binDir()).absoluteFilePath(QStringLiteral("tolvex")));
    }
};

QTEST_GUILESS_MAIN(TestE2eSmoke)
#include "test_e2e_smoke.moc"
