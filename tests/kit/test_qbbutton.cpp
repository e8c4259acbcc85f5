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

// A white title on black.
void darken(QBButton& button)
{
    QPalette palette = button.palette();
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::Window, Qt::black);
    button.setPalette(palette);
    button.resize(120, 30);
}

} // namespace

class TestQBButton : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void paddingAddsToThePlainSize()
    {
        QBButton button;
        button.setText(QStringLiteral("Erase Free Space"));
        const QFontMetricsF metrics(button.font());
        const QSizeF plain(metrics.horizontalAdvance(button.text()), metrics.height());
        QCOMPARE(button.cell().cellSize(), plain + QSizeF(26.0, 4.0));
        button.resize(200, 40);
        QCOMPARE(button.cell().titleRectForBounds(button.rect()), QRectF(13.0, 2.0, 174.0, 36.0));
    }

    // The pressed overlay never hides the title; without a text colour only the pressed
    // button shows it.
    void titleShowsOverThePressedOverlay()
    {
        QBButton button;
        darken(button);
        button.setText(QStringLiteral("MMMM"));
        QCOMPARE(brightestTitlePixel(button), 255);
        button.setDown(true);
        QCOMPARE(brightestTitlePixel(button), 255);

        button.setTextColor(QColor());
        QCOMPARE(brightestTitlePixel(button), 255);
        button.setDown(false);
        QVERIFY(brightestTitlePixel(button) < 128);
    }

    void fillIsRoundedAtTheCorners()
    {
        QBButton button;
        darken(button);
        button.setBackgroundColor(Qt::red);
        const QImage image = PixelChecks::render(button);
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
        QCOMPARE(image.pixelColor(5, 15), QColor(Qt::red));
    }
};

QTEST_MAIN(TestQBButton)
#include "test_qbbutton.moc"
