#include "kit/KeyedArchiver.h"
#include "kit/KeyedUnarchiver.h"
#include "kit/MIHSliderDotsControl.h"
#include "kit/MIHSliderView.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVariantAnimation>
#include <QWheelEvent>

using namespace tolvex;

namespace {

QList<QWidget*> addSlides(MIHSliderView& show, int count)
{
    QList<QWidget*> slides;
    for (int i = 0; i < count; ++i) {
        auto* slide = new QLabel(QString::number(i));
        show.addSlide(slide);
        slides << slide;
    }
    return slides;
}

// A two-finger swipe whose horizontal scroll adds up to the sum of `deltas`.
void swipe(MIHSliderView& show, const QList<int>& deltas)
{
    const auto send = [&](Qt::ScrollPhase phase, int dx) {
        QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(dx, 0), QPoint(dx, 0),
                          Qt::NoButton, Qt::NoModifier, phase, false);
        QApplication::sendEvent(&show, &event);
    };
    send(Qt::ScrollBegin, 0);
    for (int dx : deltas)
        send(Qt::ScrollUpdate, dx);
    send(Qt::ScrollEnd, 0);
}

// The indexes the timer shows, one per firing, until `count` firings have happened.
QList<qsizetype> indexesShownByTimer(MIHSliderView& show, int count)
{
    QList<qsizetype> shown;
    QObject::connect(show.transitionTimer(), &QTimer::timeout, &show,
                     [&] { shown << show.indexOfDisplayedSlide(); });
    return QTest::qWaitFor([&] { return shown.size() >= count; }) ? shown.mid(0, count) : shown;
}

SlideTransition* runningTransition(MIHSliderView& show)
{
    for (auto* transition : show.findChildren<SlideTransition*>()) {
        if (transition->animation()->state() == QAbstractAnimation::Running)
            return transition;
    }
    return nullptr;
}

QImage iconImage(const QPushButton* dot)
{
    return dot->icon().pixmap(QSize(15, 15)).toImage();
}

} // namespace

class TestMIHSliderView : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void timerRunsFromCreationAndWrapsUnlessNotRepeating()
    {
        const std::pair<bool, QList<qsizetype>> runs[] = {{true, {1, 2, 0, 1}},
                                                          {false, {1, 2, 2, 2, 2}}};
        for (const auto& [repeating, shown] : runs) {
            MIHSliderView show;
            QVERIFY(show.transitionTimer()->isActive());
            addSlides(show, 3);
            QCOMPARE(show.indexOfDisplayedSlide(), 0);
            show.setRepeatingScheduledTransition(repeating);
            show.setScheduledTransitionInterval(0.05);
            QCOMPARE(indexesShownByTimer(show, int(shown.size())), shown);
        }
    }

    void firstSlideShowsAtOnceAndDotsSitUnderTheSlides()
    {
        MIHSliderView show;
        show.resize(300, 200);
        const auto slides = addSlides(show, 1);
        QCOMPARE(show.displayedSlide(), slides[0]);
        QVERIFY(!slides[0]->isHidden());
        QCOMPARE(slides[0]->geometry(), QRect(0, 0, 300, 200));
        QVERIFY(show.findChildren<SlideTransition*>().isEmpty());
        MIHSliderDotsControl* dots = show.dotsControl();
        QVERIFY(!dots->highlightedDotImage().isNull());
        QCOMPARE(iconImage(dots->dots()[0]), dots->highlightedDotImage().toImage());

        addSlides(show, 2);
        QCOMPARE(dots->dots()[1]->geometry(), QRect(22, 0, 15, 15));
        QCOMPARE(dots->dots()[2]->geometry(), QRect(44, 0, 15, 15));
        // 3 x 22 + 15 wide, (300 - 81 + 22) / 2 from the left, 8 above the bottom.
        QCOMPARE(dots->geometry(), QRect(121, 177, 81, 15));
    }

    // Swipes page both ways past the threshold; a dot shows its slide, even the shown one,
    // and either restarts the timer.
    void swipesAndDotsPage()
    {
        // Three slides on a 1 s timer of which a good part has passed.
        MIHSliderView show;
        show.resize(300, 200);
        addSlides(show, 3);
        show.setScheduledTransitionInterval(1.0);
        QVERIFY(QTest::qWaitFor([&] { return show.transitionTimer()->remainingTime() < 600; }));

        swipe(show, {30, 30});
        QCOMPARE(show.indexOfDisplayedSlide(), 2);
        QCOMPARE(show.transitionStyle(), MIHSliderView::TransitionPushFromLeft);
        QVERIFY(show.transitionTimer()->remainingTime() > 800);

        swipe(show, {-25, -35});
        QCOMPARE(show.indexOfDisplayedSlide(), 0);
        QCOMPARE(show.transitionStyle(), MIHSliderView::TransitionPushFromRight);

        swipe(show, {20, 20});
        QCOMPARE(show.indexOfDisplayedSlide(), 0);

        // A plain wheel turn carries no gesture phase and never pages.
        QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(240, 0), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&show, &wheel);
        QCOMPARE(show.indexOfDisplayedSlide(), 0);

        QVERIFY(QTest::qWaitFor([&] { return show.transitionTimer()->remainingTime() < 600; }));
        QTest::mouseClick(show.dotsControl()->dots()[0], Qt::LeftButton);
        QCOMPARE(show.indexOfDisplayedSlide(), 0);
        QCOMPARE(show.transitionStyle(), MIHSliderView::TransitionPushFromLeft);
        QVERIFY(show.transitionTimer()->remainingTime() > 800);

        QTest::mouseClick(show.dotsControl()->dots()[2], Qt::LeftButton);
        QCOMPARE(show.indexOfDisplayedSlide(), 2);
        QCOMPARE(show.transitionStyle(), MIHSliderView::TransitionPushFromRight);
        QCOMPARE(iconImage(show.dotsControl()->dots()[2]),
                 show.dotsControl()->highlightedDotImage().toImage());
        QCOMPARE(iconImage(show.dotsControl()->dots()[0]),
                 show.dotsControl()->normalDotImage().toImage());
    }

    void shiftSlowsTransitions()
    {
        MIHSliderView show;
        show.resize(300, 200);
        const auto slides = addSlides(show, 3);
        show.setScheduledTransition(false);
        show.show();
        QVERIFY(QTest::qWaitForWindowExposed(&show));
        const auto clickDot = [&](int index, Qt::KeyboardModifiers modifiers) {
            QPushButton* dot = show.dotsControl()->dots()[index];
            QTest::mouseClick(show.windowHandle(), Qt::LeftButton, modifiers,
                              dot->mapTo(&show, dot->rect().center()));
        };

        clickDot(1, Qt::ShiftModifier);
        QCOMPARE(show.indexOfDisplayedSlide(), 1);
        QVERIFY(runningTransition(show));
        QCOMPARE(runningTransition(show)->description().duration, 1.5);
        QCOMPARE(runningTransition(show)->animation()->duration(), 1500);

        clickDot(2, Qt::NoModifier);
        QCOMPARE(runningTransition(show)->description().duration, 0.3);
        QVERIFY(slides[1]->isHidden());

        clickDot(0, Qt::NoModifier);
        QCOMPARE(runningTransition(show)->description().type, SlideTransition::Type::PushFromLeft);

        // Once the pictures have moved the slide itself is on screen.
        QTRY_VERIFY(!slides[0]->isHidden());
        QVERIFY(slides[2]->isHidden());
    }

    void removedOrDestroyedSlidesAreForgotten()
    {
        MIHSliderView show;
        const auto slides = addSlides(show, 3);
        show.displaySlideAtIndex(2);
        show.removeSlide(slides[0]);
        QCOMPARE(show.slides().size(), 2);
        QCOMPARE(show.dotsControl()->dotsCount(), 2);
        QCOMPARE(show.indexOfDisplayedSlide(), 0);

        delete slides[1];
        QCOMPARE(show.slides(), QList<QWidget*>({slides[2]}));
        QCOMPARE(show.dotsControl()->dotsCount(), 1);
        show.displaySlideAtIndex(5);
        QCOMPARE(show.displayedSlide(), slides[2]);
    }

    void archiveRoundTrips()
    {
        MIHSliderView show;
        addSlides(show, 2);
        show.displaySlideAtIndex(1);
        show.setTransitionStyle(MIHSliderView::TransitionMoveInFromTop);
        show.setScheduledTransitionInterval(3.5);
        show.setTransitionAnimationDuration(0.6);
        show.setRepeatingScheduledTransition(false);
        show.setScheduledTransition(false);

        KeyedArchiver archiver;
        show.encodeWithCoder(archiver);
        KeyedUnarchiver unarchiver(archiver.encodedData());
        QVERIFY(unarchiver.isValid());
        unarchiver.setClass(QStringLiteral("QLabel"),
                            [](const KeyedUnarchiver&) { return new QLabel; });
        MIHSliderView restored(unarchiver);
        QCOMPARE(restored.slides().size(), 2);
        QCOMPARE(restored.indexOfDisplayedSlide(), 1);
        QVERIFY(!restored.displayedSlide());
        QCOMPARE(restored.transitionStyle(), MIHSliderView::TransitionMoveInFromTop);
        QCOMPARE(restored.scheduledTransitionInterval(), 3.5);
        QCOMPARE(restored.transitionAnimationDuration(), 0.6);
        QVERIFY(!restored.repeatingScheduledTransition() && !restored.scheduledTransition());
        QCOMPARE(restored.dotsControl()->dotsCount(), 2);
        QCOMPARE(restored.dotsControl()->normalDotImage().toImage(),
                 show.dotsControl()->normalDotImage().toImage());

        QTest::mouseClick(restored.dotsControl()->dots()[0], Qt::LeftButton);
        QCOMPARE(restored.displayedSlide(), restored.slides()[0]);

        // A damaged archive reads as empty.
        const KeyedUnarchiver damaged(archiver.encodedData().chopped(3));
        QVERIFY(!damaged.isValid());
        QCOMPARE(damaged.decodeIntForKey(QStringLiteral("_transitionStyle")), 0);
    }
};

QTEST_MAIN(TestMIHSliderView)
#include "test_mihsliderview.moc"
