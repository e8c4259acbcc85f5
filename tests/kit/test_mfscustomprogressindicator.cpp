#include "PixelChecks.h"
#include "kit/GradientColor.h"
#include "kit/MFSCustomProgressIndicator.h"

#include <QTest>
#include <limits>

using namespace tolvex;

class TestMFSCustomProgressIndicator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void progressOutsideTheRangeIsIgnored()
    {
        MFSCustomProgressIndicator bar;
        const double nan = std::numeric_limits<double>::quiet_NaN();
        // Each value set, and the progress after it.
        const std::pair<double, double> steps[] = {{0.6, 0.6},  {1.2, 0.6}, {nan, 0.6},
                                                   {-0.1, 0.6}, {0.0, 0.0}, {1.0, 1.0}};
        for (const auto& [value, progress] : steps) {
            bar.setProgress(value);
            QCOMPARE(bar.progress(), progress);
        }
    }

    void barAtNothingAndThreeQuarters()
    {
        MFSCustomProgressIndicator bar;
        bar.resize(200, 20);
        bar.setIndicatorBackgroundColor(Qt::blue);
        bar.setIndicatorForegoundColor(Qt::red);
        QImage image = PixelChecks::render(bar);
        for (int x : {0, 1, 100, 199})
            QCOMPARE(image.pixelColor(x, 9), QColor(Qt::blue));

        bar.setProgress(0.75);
        QCOMPARE(bar.indicatorProgress(), 150.0);
        image = PixelChecks::render(bar);
        const QColor background = image.pixelColor(100, 2);
        // Two 4-pixel lines across the middle (rows 8 to 11), ending square.
        QCOMPARE(image.pixelColor(0, 9), QColor(Qt::red));
        QCOMPARE(image.pixelColor(149, 8), QColor(Qt::red));
        QCOMPARE(image.pixelColor(149, 11), QColor(Qt::red));
        QCOMPARE(image.pixelColor(150, 9), QColor(Qt::blue));
        QCOMPARE(image.pixelColor(199, 10), QColor(Qt::blue));
        QCOMPARE(image.pixelColor(100, 7), background);
        QCOMPARE(image.pixelColor(100, 12), background);

        // A gradient runs over the bar's own height: red at its bottom row, blue at its top.
        bar.setIndicatorForegoundColor(my_gradientColorWithGradient({{0, Qt::red}, {1, Qt::blue}}));
        const QImage gradient = PixelChecks::render(bar);
        QVERIFY(gradient.pixelColor(20, 11).red() > gradient.pixelColor(20, 11).blue() + 100);
        QVERIFY(gradient.pixelColor(20, 8).blue() > gradient.pixelColor(20, 8).red() + 100);
    }
};

QTEST_MAIN(TestMFSCustomProgressIndicator)
#include "test_mfscustomprogressindicator.moc"
