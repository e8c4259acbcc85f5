// The kit's look, for a person to review: the demo scene (window, overlay and HUD alert) saved
// under screenshots/ in the build folder.
#include "KitDemo.h"
#include "kit/ApplicationModal.h"
#include "kit/MyHudAlert.h"

#include <QDir>
#include <QSet>
#include <QTest>

using namespace tolvex;

class TestKitDemo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void screenshotShowsWindowOverlayAndAlert()
    {
        KitDemo demo;
        demo.window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&demo.window()));
        const QImage bare = demo.screenshot();
        demo.present();
        QVERIFY(demo.overlay().isShown());
        QCOMPARE(ApplicationModal::modalWindow(), demo.overlay().modalWindow());
        MyHudAlertWindow* alert = MyHudAlert::sharedAlert()->window();
        QCOMPARE(alert->parentWidget(), &demo.window());
        QTest::qWait(400); // the alert's fade

        const QImage shot = demo.screenshot();
        const QDir folder(qEnvironmentVariable("TOLVEX_BIN_DIR") +
                          QStringLiteral("/../screenshots"));
        QVERIFY(folder.mkpath(QStringLiteral(".")));
        QVERIFY(bare.save(folder.filePath(QStringLiteral("kit-window.png"))));
        QVERIFY(shot.save(folder.filePath(QStringLiteral("kit-demo.png"))));
        qInfo("Screenshots in %s", qPrintable(QDir::cleanPath(folder.path())));

        QSet<QRgb> colours;
        for (int y = 0; y < shot.height(); y += 2)
            for (int x = 0; x < shot.width(); x += 2)
                colours.insert(shot.pixel(x, y));
        QVERIFY2(colours.size() > 50, "the screenshot looks blank");
        // The overlay darkens the window; the alert's panel over it is nearly black.
        QVERIFY(QColor(shot.pixel(250, 300)).value() < QColor(bare.pixel(250, 300)).value());
        const QColor panel(shot.pixel(alert->pos() + QPoint(4, alert->height() / 2)));
        QVERIFY2(panel.value() < 20, qPrintable(panel.name()));

        demo.overlay().close();
        QVERIFY(!demo.overlay().isShown());
        MyHudAlert::dismisWindow();
    }
};

QTEST_MAIN(TestKitDemo)
#include "test_kitdemo.moc"
