#include "PixelChecks.h"
#include "kit/QBButton.h"

#include <QTest>

using namespace tolvex;

namespace {

// The brightest grey level inside the title's area.
int brightestTitlePixel(QBButton& button)
{
    const QImage image = PixelChecks::render(button);
    const QRect title = button.cell().titleRectForBounds(button.rect()).toRect();
    int brightest = 0;
    for (int y = title.top(); y <= title.bottom(); ++y) {
        for (int x = title.left(); x <= title.right(); ++x)
            brightest = std::max(brightest, qGray(image.pixel(x, y)));
    }
    return brightest;
}

void useWhiteTitle(QBButton& button)
{
    QPalette palette = button.palette();
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::Window, Qt::black);
    button.setPalette(palette);
}

} // namespace

class TestQBButton : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void defaultPaddingAddsToThePlainSize()
    {
        QBButton button;
        button.setText(QStringLiteral("Erase Free Space"));
        QCOMPARE(button.padding(), QMarginsF(13.0, 2.0, 13.0, 2.0));
        QCOMPARE(button.font().pixelSize(), 13);
        const QFontMetricsF metrics(button.font());
        const QSizeF plain(metrics.horizontalAdvance(button.text()), metrics.height());
        QCOMPARE(button.cell().cellSize(), plain + QSizeF(26.0, 4.0));

        button.resize(200, 40);
        QCOMPARE(button.cell().titleRectForBounds(button.rect()), QRectF(13.0, 2.0, 174.0, 36.0));
    }

    void pressedTitleIsDrawnOverTheOverlay()
    {
        QBButton button;
        useWhiteTitle(button);
        button.setText(QStringLiteral("MMMM"));
        button.resize(120, 30);
        QCOMPARE(brightestTitlePixel(button), 255);

        button.setDown(true);
        QCOMPARE(brightestTitlePixel(button), 255);
    }

    void withoutTextColourOnlyThePressedButtonShowsItsTitle()
    {
        QBButton button;
        useWhiteTitle(button);
        button.setText(QStringLiteral("MMMM"));
        button.resize(120, 30);
        button.setTextColor(QColor());
        QVERIFY(brightestTitlePixel(button) < 128);

        button.setDown(true);
        QCOMPARE(brightestTitlePixel(button), 255);
    }

    void cornerRadiusShapesFillAndOverlay()
    {
        QBButton button;
        useWhiteTitle(button);
        button.resize(120, 30);
        button.setBackgroundColor(Qt::red);
        button.setHighlightColor(Qt::blue);

        QImage image = PixelChecks::render(button);
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
        QCOMPARE(image.pixelColor(5, 15), QColor(Qt::red));

        button.setCornerRadius(0.0);
        button.setDown(true);
        image = PixelChecks::render(button);
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::blue));
        QCOMPARE(image.pixelColor(119, 29), QColor(Qt::blue));
    }
};

QTEST_MAIN(TestQBButton)
#include "test_qbbutton.moc"
