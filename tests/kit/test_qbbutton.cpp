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
    // At its own size the button shows its whole title with room on every side.
    void titleKeepsClearOfTheEdges()
    {
        QBButton button;
        button.setText(QStringLiteral("Erase Free Space"));
        darken(button);
        button.setBackgroundColor(Qt::black);
        button.resize(button.cell().cellSize().toSize());
        const QImage image = PixelChecks::render(button);
        QRect ink;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) > 128)
                    ink |= QRect(x, y, 1, 1);
        QVERIFY(ink.width() >= button.fontMetrics().horizontalAdvance(button.text()) - 2);
        QVERIFY2(ink.left() >= 8 && ink.right() <= image.width() - 9,
                 qPrintable(QStringLiteral("%1..%2 of %3")
                                .arg(ink.left())
                                .arg(ink.right())
                                .arg(image.width())));
        QVERIFY(ink.top() >= 1 && ink.bottom() <= image.height() - 2);
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
