#include "PixelChecks.h"
#include "kit/MRSubtleButton.h"
#include "kit/MRSubtleButtonDelegate.h"
#include "kit/QBButton.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QShortcut>
#include <QTest>
#include <QVBoxLayout>

using namespace tolvex;

namespace {

struct RecordingDelegate : MRSubtleButtonDelegate {
    QList<QEvent::Type> mouse;
    QList<int> keys;

    void viewDidHandleEvent(QWidget*, QKeyEvent* event) override { keys << event->key(); }
    void subtleButtonEvent(QMouseEvent* event, MRSubtleButton*) override { mouse << event->type(); }
};

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

class TestButtons : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void titleOriginFollowsAlignmentAndLongTitlesRunOn()
    {
        MRSubtleButton button;
        button.resize(240, 40);
        button.setTitle(QStringLiteral("Start"));
        const double width = button.titleSize().width();
        QVERIFY(width > 10);
        // 0 left, 1 right, 2 centred; any other value draws as left.
        const std::pair<int, double> lefts[] = {
            {0, 15.0}, {1, 240.0 - 15.0 - width}, {2, 120.0 - width / 2}, {7, 15.0}};
        for (const auto& [alignment, left] : lefts) {
            button.setTitleAlignment(alignment);
            QCOMPARE(button.titleOrigin().x(), left);
        }
        // The title's middle sits 4 above the button's middle.
        QCOMPARE(button.titleOrigin().y() + button.titleSize().height() / 2, 20.0 - 4.0);

        // A title wider than the button keeps its margin and runs on to the right edge.
        button.setTitleAlignment(MRSubtleButton::AlignmentLeft);
        button.setTitle(QStringLiteral("Start Shredding Files Right Now And Then Some More"));
        QVERIFY(button.titleSize().width() > 240);
        QCOMPARE(button.titleOrigin().x(), 15.0);
        const QImage image = PixelChecks::render(button);
        bool inkAtTheEdge = false;
        for (int y = 0; y < image.height(); ++y)
            inkAtTheEdge |= qGray(image.pixel(238, y)) < 100;
        QVERIFY(inkAtTheEdge);
    }

    void mouseEventsReachTheDelegateWherever()
    {
        MRSubtleButton button;
        button.resize(120, 40);
        RecordingDelegate delegate;
        button.setDelegate(&delegate);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(button.selected());
        // Released far outside: still reported, the look goes back.
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(500, 500));
        QVERIFY(!button.selected());
        QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(delegate.mouse,
                 QList<QEvent::Type>({QEvent::MouseButtonPress, QEvent::MouseButtonRelease}));
    }

    void keyEquivalentsAreClaimedAnywhereInTheWindow()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* field = new QLineEdit;
        auto* button = new MRSubtleButton;
        layout->addWidget(field);
        layout->addWidget(button);
        int shortcutFired = 0;
        auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), &window);
        connect(quit, &QShortcut::activated, this, [&] { ++shortcutFired; });
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        RecordingDelegate delegate;
        button->setDelegate(&delegate);

        // Ctrl+Q in the field is the button's; a plain key types as usual. On the button itself,
        // keys go to the delegate, lone modifiers not.
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_A);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        QTest::keyClick(button, Qt::Key_Shift, Qt::ShiftModifier);
        QCOMPARE(delegate.keys, QList<int>({Qt::Key_Q, Qt::Key_Return}));
        QCOMPARE(field->text(), QStringLiteral("a"));

        // Without a delegate the key is still claimed: the shortcut never fires.
        button->setDelegate(nullptr);
        QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier);
        QTest::keyClick(button, Qt::Key_Return);
        QCOMPARE(shortcutFired, 0);
    }

    void startButtonLookHasItsGradientEnds()
    {
        const QColor start = QColor::fromRgbF(0.304, 0.927, 0.252, 1.0);
        const QColor end = QColor::fromRgbF(0.5, 0.8, 0.0, 0.8);
        MRSubtleButton button;
        button.resize(200, 44);
        button.setTitleAlignment(MRSubtleButton::AlignmentCentred);
        button.setGradientWithStartColor(start, end);
        button.setHighlightGradientWithStartColor(QColor::fromRgbF(0.304, 0.927, 0.252, 0.8),
                                                  QColor::fromRgbF(0.5, 0.8, 0.0, 1.0));

        QImage image = PixelChecks::render(button);
        const QColor background = image.pixelColor(0, 20);
        // The face leaves one pixel free on each side and two at the top.
        QCOMPARE(image.pixelColor(5, 1), background);
        QCOMPARE(image.pixelColor(199, 20), background);
        QCOMPARE(image.pixelColor(5, 43), background);
        QVERIFY_COLOR(image.pixelColor(5, 42), start, 4);
        QVERIFY_COLOR(image.pixelColor(5, 2), PixelChecks::over(end, background), 4);

        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(100, 20));
        image = PixelChecks::render(button);
        QVERIFY_COLOR(image.pixelColor(5, 42),
                      PixelChecks::over(QColor::fromRgbF(0.304, 0.927, 0.252, 0.8), background), 4);
        QVERIFY_COLOR(image.pixelColor(5, 2), QColor::fromRgbF(0.5, 0.8, 0.0), 4);
    }

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

QTEST_MAIN(TestButtons)
#include "test_buttons.moc"
