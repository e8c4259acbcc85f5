// The kit's look, for a person to review: the demo scene (window, overlay and HUD alert) saved
// under screenshots/ in the build folder, and the drawn controls, progress views and slide show
// in their main states under review/kit2/.
#include "KitDemo.h"
#include "kit/ApplicationModal.h"
#include "kit/JESCircularProgressView.h"
#include "kit/MFSCustomProgressIndicator.h"
#include "kit/MIHSliderView.h"
#include "kit/MRSubtleButton.h"
#include "kit/MyHudAlert.h"
#include "kit/QBButton.h"

#include <QDir>
#include <QLabel>
#include <QSet>
#include <QTest>
#include <QVariantAnimation>

using namespace tolvex;

namespace {

// A surface like the window's dark translucent content.
std::unique_ptr<QWidget> darkSurface(QSize size)
{
    auto surface = std::make_unique<QWidget>();
    QPalette palette = surface->palette();
    palette.setColor(QPalette::Window, QColor(38, 38, 42));
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::white);
    surface->setPalette(palette);
    surface->setAutoFillBackground(true);
    surface->resize(size);
    return surface;
}

} // namespace

class TestKitDemo : public QObject {
    Q_OBJECT

    QDir m_review{QStringLiteral(TOLVEX_REVIEW_DIR)};

    void save(QWidget& widget, const QString& name)
    {
        const QString path = m_review.filePath(name + QStringLiteral(".png"));
        QVERIFY2(widget.grab().toImage().save(path), qPrintable(path));
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_review.mkpath(QStringLiteral("."))); }

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
        // The overlay darkens the window except at its rounded corners; the alert's panel is
        // nearly black.
        QCOMPARE(shot.pixel(0, 0), bare.pixel(0, 0));
        QVERIFY(QColor(shot.pixel(250, 300)).value() < QColor(bare.pixel(250, 300)).value());
        const QColor panel(shot.pixel(alert->pos() + QPoint(4, alert->height() / 2)));
        QVERIFY2(panel.value() < 20, qPrintable(panel.name()));

        demo.overlay().close();
        QVERIFY(!demo.overlay().isShown());
        MyHudAlert::dismisWindow();
    }

    void buttons()
    {
        MRSubtleButton plain;
        plain.resize(220, 44);
        plain.setTitle(QStringLiteral("Default look"));
        save(plain, QStringLiteral("MRSubtleButton-default"));

        auto surface = darkSurface(QSize(300, 100));
        auto* start = new MRSubtleButton(surface.get());
        start->setGeometry(10, 8, 280, 44);
        start->setTitleAlignment(MRSubtleButton::AlignmentCentred);
        start->setGradientWithStartColor(QColor::fromRgbF(0.304, 0.927, 0.252, 1.0),
                                         QColor::fromRgbF(0.5, 0.8, 0.0, 0.8));
        start->setHighlightGradientWithStartColor(QColor::fromRgbF(0.304, 0.927, 0.252, 0.8),
                                                  QColor::fromRgbF(0.5, 0.8, 0.0, 1.0));
        QFont font(QStringLiteral("Roboto Thin"));
        font.setPixelSize(18);
        start->setFontAttributesWithFont(font, Qt::white);
        start->setTitle(QStringLiteral("Start Shredding Files"));
        auto* flat = new QBButton(surface.get());
        flat->setText(QStringLiteral("Erase Free Space"));
        flat->setGeometry(QRect(QPoint(10, 60), flat->sizeHint()));
        save(*surface, QStringLiteral("buttons"));
        start->setSelected(true);
        flat->setDown(true);
        save(*surface, QStringLiteral("buttons-pressed"));
    }

    void progressViews()
    {
        auto surface = darkSurface(QSize(240, 150));
        auto* ring = new JESCircularProgressView(QRect(10, 10, 100, 100), surface.get());
        auto* bar = new MFSCustomProgressIndicator(surface.get());
        bar->setGeometry(10, 120, 200, 20);
        bar->setIndicatorBackgroundColor(QColor(90, 90, 96));
        bar->setIndicatorForegoundColor(QColor(80, 200, 120));
        bar->setTickMarkColor(Qt::white);
        for (double progress : {0.0, 0.5, 1.0}) {
            ring->setProgress(progress);
            bar->setProgress(progress);
            save(*surface, QStringLiteral("progress-%1").arg(progress));
        }
        // The drop zones' style: white, dashed, with a wider progress line.
        ring->setTintColor(Qt::white);
        ring->setOuterLineisDashed(true);
        ring->setProgressLineWidth(6.0);
        ring->setProgress(0.3);
        bar->setShowsTickMark(true);
        bar->setProgress(0.3);
        save(*surface, QStringLiteral("progress-zone-0.3-tick"));
    }

    void slideShow()
    {
        auto surface = darkSurface(QSize(320, 200));
        auto* show = new MIHSliderView(surface.get());
        show->setGeometry(surface->rect());
        show->setScheduledTransition(false);
        const QList<QColor> colours{QColor(60, 90, 160), QColor(150, 70, 60), QColor(60, 140, 80)};
        for (qsizetype i = 0; i < colours.size(); ++i) {
            auto* slide = new QLabel(QStringLiteral("Slide %1").arg(i + 1));
            slide->setAlignment(Qt::AlignCenter);
            slide->setAutoFillBackground(true);
            QPalette palette = slide->palette();
            palette.setColor(QPalette::Window, colours[i]);
            palette.setColor(QPalette::WindowText, Qt::white);
            slide->setPalette(palette);
            show->addSlide(slide);
        }
        save(*surface, QStringLiteral("MIHSliderView-first"));

        show->setTransitionStyle(MIHSliderView::TransitionPushFromRight);
        show->displaySlideAtIndex(1);
        auto* push = show->findChild<QVariantAnimation*>();
        QVERIFY(push);
        push->pause();
        push->setCurrentTime(push->duration() / 3);
        save(*surface, QStringLiteral("MIHSliderView-pushing"));
        push->setCurrentTime(push->duration());
        QTRY_VERIFY(!show->slides()[1]->isHidden());
        save(*surface, QStringLiteral("MIHSliderView-second"));
    }
};

QTEST_MAIN(TestKitDemo)
#include "test_kitdemo.moc"
