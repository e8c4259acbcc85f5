#include "PixelChecks.h"
#include "kit/GradientColor.h"
#include "kit/JESCircularProgressView.h"
#include "kit/MFSCustomProgressIndicator.h"

#include <QTest>
#include <QVariantAnimation>
#include <cmath>
#include <limits>

using namespace tolvex;

namespace {

// Every ring of this process shares the geometry of the first one made: 100 x 100, so the
// rings run around (50, 50) with radius 45.
const QRect kFirstFrame(0, 0, 100, 100);

const QColor kOrange = QColor::fromRgbF(0.991, 0.527, 0.033);
const QColor kRed = QColor::fromRgbF(0.986, 0.097, 0.028);

// The gradient's colour at row y of a 100-high ring: orange at the bottom, red at the top.
QColor gradientAt(qreal y)
{
    const qreal t = (100.0 - (y + 0.5)) / 100.0;
    return QColor::fromRgbF(kOrange.redF() + (kRed.redF() - kOrange.redF()) * t,
                            kOrange.greenF() + (kRed.greenF() - kOrange.greenF()) * t,
                            kOrange.blueF() + (kRed.blueF() - kOrange.blueF()) * t);
}

// A point on the ring, `degrees` clockwise from the top.
QPoint ringPoint(qreal degrees)
{
    const qreal radians = qDegreesToRadians(degrees);
    return QPoint(int(std::floor(50 + 45 * std::sin(radians))),
                  int(std::floor(50 - 45 * std::cos(radians))));
}

bool isTinted(const QColor& color)
{
    return color.blue() > color.red() + 40;
}

bool isGradient(const QColor& color)
{
    return color.red() > 230 && color.blue() < 60;
}

int animationMs(JESCircularProgressView& view)
{
    return view.findChild<QVariantAnimation*>()->duration();
}

} // namespace

class TestProgressViews : public QObject {
    Q_OBJECT

    JESCircularProgressView* first_ = nullptr;

private Q_SLOTS:
    void initTestCase() { first_ = new JESCircularProgressView(kFirstFrame); }
    void cleanupTestCase() { delete first_; }

    // Later rings take the first ring's geometry and never restyle their outer line; progress
    // is clamped, and not a number fills the ring.
    void ringsKeepTheirFirstLooks()
    {
        JESCircularProgressView larger(QRect(0, 0, 240, 160));
        QCOMPARE(larger.center(), QPointF(50, 50));
        QCOMPARE(larger.radius(), 45.0);
        JESCircularProgressView plain(kFirstFrame);
        JESCircularProgressView widened(kFirstFrame);
        widened.setOuterLineWidth(2.0);
        QCOMPARE(PixelChecks::render(widened), PixelChecks::render(plain));

        plain.setProgress(1.7, true);
        QCOMPARE(plain.progress(), 1.0);
        plain.setProgress(-0.2, true);
        QCOMPARE(plain.progress(), 0.0);
        plain.setProgress(std::numeric_limits<double>::quiet_NaN());
        QCOMPARE(plain.strokeEnd(), 1.0);
        QCOMPARE(plain.progressInDegrees(), 360.0);
    }

    void animatedChangesLastTheDistanceOrTheMinimum()
    {
        JESCircularProgressView view(kFirstFrame);
        view.setProgress(0.2);
        view.setProgress(0.9, true);
        QCOMPARE(animationMs(view), 700);
        QCOMPARE(view.progress(), 0.9);
        QVERIFY(view.strokeEnd() < 0.9);
        QTRY_COMPARE(view.strokeEnd(), 0.9);

        view.setProgress(0.50);
        view.setProgress(0.55, true);
        QCOMPARE(animationMs(view), 250);

        view.setAnimationDuration(0.5);
        view.setProgress(0.50);
        view.setProgress(0.55, true);
        QCOMPARE(animationMs(view), 500);
        view.setProgress(0.2);
        view.setProgress(0.9, true);
        QCOMPARE(animationMs(view), 700);

        // A change without animation lands at once and stops a running one.
        view.setProgress(0.3);
        QCOMPARE(view.strokeEnd(), 0.3);
        QCOMPARE(view.findChild<QVariantAnimation*>()->state(), QAbstractAnimation::Stopped);
    }

    void ringAtNothingHalfAndFull()
    {
        JESCircularProgressView view(kFirstFrame);
        QImage image = PixelChecks::render(view);
        QVERIFY(isTinted(image.pixelColor(ringPoint(90))));

        view.setProgress(0.5);
        image = PixelChecks::render(view);
        const QPoint right = ringPoint(90);
        QVERIFY_COLOR(image.pixelColor(right), gradientAt(right.y()), 6);
        QVERIFY(isGradient(image.pixelColor(ringPoint(170))));
        QVERIFY(isTinted(image.pixelColor(ringPoint(190))));
        QVERIFY(isTinted(image.pixelColor(ringPoint(270))));

        view.setProgress(1.0);
        image = PixelChecks::render(view);
        const QPoint left = ringPoint(270);
        QVERIFY_COLOR(image.pixelColor(left), gradientAt(left.y()), 6);
        // The closing segment bridges the last few degrees before the top.
        QVERIFY_COLOR(image.pixelColor(ringPoint(357)), gradientAt(ringPoint(357).y()), 8);
    }

    void dashedOuterRingLeavesGaps()
    {
        JESCircularProgressView view(kFirstFrame);
        view.setOuterLineisDashed(true);
        const QImage image = PixelChecks::render(view);
        int tinted = 0;
        for (int degrees = 0; degrees < 360; ++degrees)
            tinted += isTinted(image.pixelColor(ringPoint(degrees))) ? 1 : 0;
        QVERIFY2(tinted > 180 && tinted < 330, qPrintable(QString::number(tinted)));
    }

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
        const std::tuple<int, int, QColor> pixels[] = {
            {0, 9, Qt::red},     {149, 8, Qt::red},    {149, 11, Qt::red},   {150, 9, Qt::blue},
            {199, 10, Qt::blue}, {100, 7, background}, {100, 12, background}};
        for (const auto& [x, y, color] : pixels)
            QCOMPARE(image.pixelColor(x, y), color);

        // A gradient runs over the bar's own height: red at its bottom row, blue at its top.
        bar.setIndicatorForegoundColor(my_gradientColorWithGradient({{0, Qt::red}, {1, Qt::blue}}));
        const QImage gradient = PixelChecks::render(bar);
        QVERIFY(gradient.pixelColor(20, 11).red() > gradient.pixelColor(20, 11).blue() + 100);
        QVERIFY(gradient.pixelColor(20, 8).blue() > gradient.pixelColor(20, 8).red() + 100);
    }
};

QTEST_MAIN(TestProgressViews)
#include "test_progressviews.moc"
