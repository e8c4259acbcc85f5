// Renders the drawn controls, progress views and slide show in their main states to PNG files
// under the build folder, for a person to look at.
#include "kit/JESCircularProgressView.h"
#include "kit/MFSCustomProgressIndicator.h"
#include "kit/MIHSliderView.h"
#include "kit/MRSubtleButton.h"
#include "kit/QBButton.h"

#include <QDir>
#include <QLabel>
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

class TestKit2Renders : public QObject {
    Q_OBJECT

    QDir m_folder{QStringLiteral(TOLVEX_REVIEW_DIR)};

    void save(QWidget& widget, const QString& name)
    {
        const QImage image = widget.grab().toImage();
        QVERIFY(!image.isNull());
        const QString path = m_folder.filePath(name + QStringLiteral(".png"));
        QVERIFY2(image.save(path), qPrintable(path));
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_folder.mkpath(QStringLiteral("."))); }

    void gradientPushButton()
    {
        MRSubtleButton plain;
        plain.resize(220, 44);
        plain.setTitle(QStringLiteral("Default look"));
        save(plain, QStringLiteral("MRSubtleButton-default"));

        auto surface = darkSurface(QSize(300, 60));
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
        save(*surface, QStringLiteral("MRSubtleButton-start"));
        start->setSelected(true);
        save(*surface, QStringLiteral("MRSubtleButton-start-pressed"));
    }

    void flatRoundedButton()
    {
        auto surface = darkSurface(QSize(160, 40));
        auto* button = new QBButton(surface.get());
        button->setText(QStringLiteral("Erase Free Space"));
        button->setGeometry(QRect(QPoint(10, 8), button->sizeHint()));
        save(*surface, QStringLiteral("QBButton-released"));
        button->setDown(true);
        save(*surface, QStringLiteral("QBButton-pressed"));
    }

    void circularProgressView()
    {
        auto surface = darkSurface(QSize(120, 120));
        auto* ring = new JESCircularProgressView(QRect(10, 10, 100, 100), surface.get());
        for (double progress : {0.0, 0.5, 1.0}) {
            ring->setProgress(progress);
            save(*surface, QStringLiteral("JESCircularProgressView-%1").arg(progress));
        }
        // The drop zones' style: white, dashed, with a wider progress line.
        ring->setTintColor(Qt::white);
        ring->setOuterLineisDashed(true);
        ring->setProgressLineWidth(6.0);
        ring->setProgress(0.3);
        save(*surface, QStringLiteral("JESCircularProgressView-zone-0.3"));
    }

    void linearProgressBar()
    {
        auto surface = darkSurface(QSize(220, 24));
        auto* bar = new MFSCustomProgressIndicator(surface.get());
        bar->setGeometry(10, 2, 200, 20);
        bar->setIndicatorBackgroundColor(QColor(90, 90, 96));
        bar->setIndicatorForegoundColor(QColor(80, 200, 120));
        bar->setTickMarkColor(Qt::white);
        bar->setProgress(0.75);
        save(*surface, QStringLiteral("MFSCustomProgressIndicator-0.75"));
        bar->setShowsTickMark(true);
        bar->setProgress(0.3);
        save(*surface, QStringLiteral("MFSCustomProgressIndicator-0.3-tick"));
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

QTEST_MAIN(TestKit2Renders)
#include "test_kit2_renders.moc"
