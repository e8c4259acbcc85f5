#pragma once

#include "Coding.h"
#include "SlideTransition.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <optional>

class QTimer;

namespace tolvex {

class KeyedUnarchiver;
class MIHSliderDotsControl;

// A slide show: shows one of its slides at a time and changes slide with an animated
// transition on a repeating timer (every 2.0 s from creation), on a two-finger horizontal swipe,
// on a click of a page dot, or when asked by index. Slides become children of the show.
class MIHSliderView : public QWidget, public Coding {
    Q_OBJECT

public:
    // transitionStyle values; any other value fades.
    static constexpr int TransitionFade = 0;
    static constexpr int TransitionMoveInFromTop = 1;
    static constexpr int TransitionPushFromLeft = 2;  // going back
    static constexpr int TransitionPushFromRight = 3; // going forward

    explicit MIHSliderView(QWidget* parent = nullptr);
    // Restores an archived show. Slides come back only for classes the coder knows
    // (KeyedUnarchiver::setClass); the show starts without a slide on screen.
    explicit MIHSliderView(const KeyedUnarchiver& coder, QWidget* parent = nullptr);
    ~MIHSliderView() override;

    void encodeWithCoder(KeyedArchiver& coder) const override;

    QList<QWidget*> slides() const { return slides_; }
    // Takes the slide as a child; the first slide of an empty show is shown at once.
    void addSlide(QWidget* slide);
    // Forgets the slide (it stays a child of the show, and on screen until another slide is
    // shown, if it is the current one).
    void removeSlide(QWidget* slide);
    // Shows slide `index` with a transition of the current style; an index outside the slides
    // is ignored.
    void displaySlideAtIndex(qsizetype index);

    qsizetype indexOfDisplayedSlide() const { return indexOfDisplayedSlide_; }
    // Stored only; nothing is shown.
    void setIndexOfDisplayedSlide(qsizetype index) { indexOfDisplayedSlide_ = index; }
    QWidget* displayedSlide() const { return displayedSlide_; }

    int transitionStyle() const { return transitionStyle_; }
    void setTransitionStyle(int style) { transitionStyle_ = style; }
    // Seconds between automatic changes; restarts the timer when the show is scheduled.
    double scheduledTransitionInterval() const { return scheduledTransitionInterval_; }
    void setScheduledTransitionInterval(double seconds);
    // Whether the timer runs; turning it on starts a fresh full interval.
    bool scheduledTransition() const;
    void setScheduledTransition(bool scheduled);
    // When off, the timer stops changing slides at the last one.
    bool repeatingScheduledTransition() const { return repeatingScheduledTransition_; }
    void setRepeatingScheduledTransition(bool repeating)
    {
        repeatingScheduledTransition_ = repeating;
    }
    // Transitions last 0.3 s, or 1.5 s while Shift is held; a value of 0 here turns the slow
    // Shift transitions off. No other value changes the duration.
    double transitionAnimationDuration() const { return transitionAnimationDuration_; }
    void setTransitionAnimationDuration(double seconds) { transitionAnimationDuration_ = seconds; }

    // The running timer, or nullptr while the show is not scheduled.
    QTimer* transitionTimer() const;
    QWidget* contentView() const { return contentView_; }
    MIHSliderDotsControl* dotsControl() const { return dotsControl_; }
    // The horizontal and vertical scroll of the current (or last) swipe.
    double scrollDeltaX() const { return scrollDeltaX_; }
    double scrollDeltaY() const { return scrollDeltaY_; }

Q_SIGNALS:
    // Another slide is shown, whoever asked for it.
    void displayedSlideChanged(qsizetype index);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class MIHSliderDotsControl;

    void prepareView();
    void handleTimerTick();
    void dotViewSelected(qsizetype tag);
    void prepareTransitionToIndex(qsizetype index);
    void prepareTransitionTimer();

    void adoptSlide(QWidget* slide);
    void forgetSlide(const QObject* slide);
    void replaceDisplayedSlide(QWidget* slide);
    void pageAfterSwipe();
    void replaceDotsControl(MIHSliderDotsControl* dotsControl);

    QList<QWidget*> slides_;
    qsizetype indexOfDisplayedSlide_ = 0;
    QPointer<QWidget> displayedSlide_;
    int transitionStyle_ = TransitionFade;
    double scheduledTransitionInterval_ = 0.0;
    bool repeatingScheduledTransition_ = true;
    double transitionAnimationDuration_ = 0.0;
    QTimer* transitionTimer_ = nullptr;
    QWidget* contentView_ = nullptr;
    MIHSliderDotsControl* dotsControl_ = nullptr;
    double scrollDeltaX_ = 0.0;
    double scrollDeltaY_ = 0.0;

    // The transition the next change of slide uses, and the one playing now.
    std::optional<SlideTransition::Description> contentViewTransition_;
    QPointer<SlideTransition> runningTransition_;
};

} // namespace tolvex
