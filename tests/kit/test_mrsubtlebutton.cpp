#include "PixelChecks.h"
#include "kit/MRSubtleButton.h"
#include "kit/MRSubtleButtonDelegate.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QShortcut>
#include <QTest>
#include <QVBoxLayout>

using namespace tolvex;

namespace {

struct RecordingDelegate : MRSubtleButtonDelegate {
    QList<std::pair<QEvent::Type, MRSubtleButton*>> mouse;
    QList<std::tuple<QEvent::Type, int, Qt::KeyboardModifiers, QWidget*>> keys;

    void viewDidHandleEvent(QWidget* view, QKeyEvent* event) override
    {
        keys.append({event->type(), event->key(), event->modifiers(), view});
    }
    void subtleButtonEvent(QMouseEvent* event, MRSubtleButton* from) override
    {
        mouse.append({event->type(), from});
    }
};

} // namespace

class TestMRSubtleButton : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void titleOriginFollowsAlignment_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QString>("edge");
        QTest::newRow("left") << 0 << "left";
        QTest::newRow("right") << 1 << "right";
        QTest::newRow("centred") << 2 << "centre";
        QTest::newRow("unknown draws left") << 7 << "left";
    }

    void titleOriginFollowsAlignment()
    {
        QFETCH(int, alignment);
        QFETCH(QString, edge);
        MRSubtleButton button;
        button.resize(240, 40);
        button.setTitle(QStringLiteral("Start"));
        button.setTitleAlignment(alignment);

        const QPointF origin = button.titleOrigin();
        const QSizeF size = button.titleSize();
        QVERIFY(size.width() > 10);
        if (edge == "left")
            QCOMPARE(origin.x(), 15.0);
        else if (edge == "right")
            QCOMPARE(origin.x() + size.width(), 240.0 - 15.0);
        else
            QCOMPARE(origin.x() + size.width() / 2, 120.0);
        // The title's middle sits 4 above the button's middle.
        QCOMPARE(origin.y() + size.height() / 2, 20.0 - 4.0);
    }

    void oversizedTitleIsNeitherShortenedNorMoved()
    {
        MRSubtleButton button;
        button.resize(120, 40);
        button.setTitle(QStringLiteral("Start Shredding Files Right Now"));
        QVERIFY(button.titleSize().width() > 120);
        QCOMPARE(button.titleOrigin().x(), 15.0);
        // The title runs on to the right edge: nothing elides it.
        const QImage image = PixelChecks::render(button);
        bool inkAtTheEdge = false;
        for (int y = 0; y < image.height(); ++y)
            inkAtTheEdge |= qGray(image.pixel(118, y)) < 100;
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

        QCOMPARE(delegate.mouse.size(), 2);
        QCOMPARE(delegate.mouse[0].first, QEvent::MouseButtonPress);
        QCOMPARE(delegate.mouse[1].first, QEvent::MouseButtonRelease);
        QCOMPARE(delegate.mouse[1].second, &button);

        // Without a delegate the pressed look still follows the mouse.
        button.setDelegate(nullptr);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(button.selected());
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
        field->setFocus();

        RecordingDelegate delegate;
        button->setDelegate(&delegate);
        QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(delegate.keys.size(), 1);
        QCOMPARE(std::get<0>(delegate.keys[0]), QEvent::KeyPress);
        QCOMPARE(std::get<1>(delegate.keys[0]), int(Qt::Key_Q));
        QCOMPARE(std::get<3>(delegate.keys[0]), button);

        // Without a delegate the key is still claimed: the shortcut never fires.
        button->setDelegate(nullptr);
        QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(shortcutFired, 0);
        QVERIFY(field->text().isEmpty());

        // A plain key is no key equivalent: it types as usual.
        button->setDelegate(&delegate);
        QTest::keyClick(field, Qt::Key_A);
        QCOMPARE(field->text(), QStringLiteral("a"));
        QCOMPARE(delegate.keys.size(), 1);

        // Keys on the button itself go to the delegate, releases and lone modifiers not.
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        QTest::keyClick(button, Qt::Key_Shift, Qt::ShiftModifier);
        QCOMPARE(delegate.keys.size(), 2);
        QCOMPARE(std::get<1>(delegate.keys[1]), int(Qt::Key_Return));
        button->setDelegate(nullptr);
        QTest::keyClick(button, Qt::Key_Return);
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
};

QTEST_MAIN(TestMRSubtleButton)
#include "test_mrsubtlebutton.moc"
