#include "MIHSliderView.h"

#include "KeyedArchiver.h"
#include "KeyedUnarchiver.h"
#include "MIHSliderDotsControl.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>

namespace tolvex {

namespace {

constexpr double kDefaultScheduledTransitionInterval = 2.0;
constexpr double kDefaultTransitionAnimationDuration = 0.3;
constexpr double kTransitionDuration = 0.3;
constexpr double kSlowTransitionDuration = 1.5;
constexpr double kSwipeThreshold = 50.0;

const auto kNormalDotImageName = QStringLiteral(":/images/SliderDotNormal.png");
const auto kHighlightedDotImageName = QStringLiteral(":/images/SliderDotHighlighted.png");

const auto kSlidesKey = QStringLiteral("_slides");
const auto kIndexOfDisplayedSlideKey = QStringLiteral("indexOfDisplayedSlide");
const auto kTransitionStyleKey = QStringLiteral("_transitionStyle");
const auto kScheduledTransitionIntervalKey = QStringLiteral("_scheduledTransitionInterval");
const auto kTransitionAnimationDurationKey = QStringLiteral("_transitionAnimationDuration");
const auto kRepeatingScheduledTransitionKey = QStringLiteral("_repeatingScheduledTransition");
const auto kDotsControlKey = QStringLiteral("_dotsControl");
const auto kScheduledTransitionKey = QStringLiteral("scheduledTransition");

SlideTransition::Type transitionTypeForStyle(int style)
{
    switch (style) {
    case MIHSliderView::TransitionMoveInFromTop:
        return SlideTransition::Type::MoveInFromTop;
    case MIHSliderView::TransitionPushFromLeft:
        return SlideTransition::Type::PushFromLeft;
    case MIHSliderView::TransitionPushFromRight:
        return SlideTransition::Type::PushFromRight;
    default:
        return SlideTransition::Type::Fade;
    }
}

int timerIntervalMs(double seconds)
{
    // A timer never fires more often than every millisecond, whatever it is asked.
    return seconds > 0.001 ? static_cast<int>(std::lround(seconds * 1000.0)) : 1;
}

// The scroll of a precise device (touchpad) in pixels, else the wheel's angle.
QPointF scrollingDelta(const QWheelEvent& event)
{
    return event.pixelDelta().isNull() ? QPointF(event.angleDelta()) : QPointF(event.pixelDelta());
}

} // namespace

MIHSliderView::MIHSliderView(QWidget* parent) : QWidget(parent)
{
    prepareView();
    transitionStyle_ = TransitionFade;
    scheduledTransitionInterval_ = kDefaultScheduledTransitionInterval;
    transitionAnimationDuration_ = kDefaultTransitionAnimationDuration;
    repeatingScheduledTransition_ = true;
    setScheduledTransition(true);
}

MIHSliderView::MIHSliderView(const KeyedUnarchiver& coder, QWidget* parent) : QWidget(parent)
{
    prepareView();
    for (const QVariant& archived : coder.decodeObjectForKey(kSlidesKey).toList()) {
        if (QWidget* slide = coder.unarchivedWidget(archived))
            adoptSlide(slide);
    }
    setIndexOfDisplayedSlide(coder.decodeIntegerForKey(kIndexOfDisplayedSlideKey));
    transitionStyle_ = coder.decodeIntForKey(kTransitionStyleKey);
    scheduledTransitionInterval_ = coder.decodeDoubleForKey(kScheduledTransitionIntervalKey);
    transitionAnimationDuration_ = coder.decodeDoubleForKey(kTransitionAnimationDurationKey);
    repeatingScheduledTransition_ = coder.decodeBoolForKey(kRepeatingScheduledTransitionKey);
    if (coder.containsValueForKey(kDotsControlKey)) {
        replaceDotsControl(new MIHSliderDotsControl(
            coder.nestedUnarchiver(coder.decodeObjectForKey(kDotsControlKey)), this));
    }
    setScheduledTransition(coder.decodeBoolForKey(kScheduledTransitionKey));
}

MIHSliderView::~MIHSliderView()
{
    // The slides die with the show and must not report back to it while it goes.
    for (const QWidget* slide : std::as_const(slides_))
        disconnect(slide, &QObject::destroyed, this, &MIHSliderView::forgetSlide);
}

void MIHSliderView::encodeWithCoder(KeyedArchiver& coder) const
{
    QVariantList slides;
    for (const QWidget* slide : slides_)
        slides << KeyedArchiver::archivedWidget(*slide);
    coder.encodeObject(kSlidesKey, slides);
    coder.encodeInteger(kIndexOfDisplayedSlideKey, indexOfDisplayedSlide_);
    coder.encodeInt(kTransitionStyleKey, transitionStyle_);
    coder.encodeDouble(kScheduledTransitionIntervalKey, scheduledTransitionInterval_);
    coder.encodeDouble(kTransitionAnimationDurationKey, transitionAnimationDuration_);
    coder.encodeBool(kRepeatingScheduledTransitionKey, repeatingScheduledTransition_);
    KeyedArchiver dotsCoder;
    dotsControl_->encodeWithCoder(dotsCoder);
    coder.encodeObject(kDotsControlKey, dotsCoder.encodedData());
    coder.encodeBool(kScheduledTransitionKey, scheduledTransition());
}

void MIHSliderView::prepareView()
{
    transitionTimer_ = new QTimer(this);
    connect(transitionTimer_, &QTimer::timeout, this, &MIHSliderView::handleTimerTick);

    contentView_ = new QWidget(this);
    contentView_->setGeometry(rect());

    dotsControl_ = new MIHSliderDotsControl(this);
    dotsControl_->setSliderView(this);
    dotsControl_->setNormalDotImage(QPixmap(kNormalDotImageName));
    dotsControl_->setHighlightedDotImage(QPixmap(kHighlightedDotImageName));
    dotsControl_->raise();
}

void MIHSliderView::replaceDotsControl(MIHSliderDotsControl* dotsControl)
{
    delete dotsControl_;
    dotsControl_ = dotsControl;
    // The archive keeps neither the dots nor the link back to the show: both are made again
    // from the slides, so the restored dots work.
    dotsControl_->setSliderView(this);
    dotsControl_->setIndexOfHighlightedDot(indexOfDisplayedSlide_);
    dotsControl_->setDotsCount(slides_.size());
    dotsControl_->raise();
}

void MIHSliderView::adoptSlide(QWidget* slide)
{
    slide->hide();
    slide->setParent(contentView_);
    slides_ << slide;
    connect(slide, &QObject::destroyed, this, &MIHSliderView::forgetSlide);
}

void MIHSliderView::addSlide(QWidget* slide)
{
    if (!slide)
        return;
    adoptSlide(slide);
    if (slides_.size() == 1)
        displaySlideAtIndex(0);
    dotsControl_->setDotsCount(slides_.size());
}

void MIHSliderView::removeSlide(QWidget* slide)
{
    if (slide)
        disconnect(slide, &QObject::destroyed, this, &MIHSliderView::forgetSlide);
    forgetSlide(slide);
}

void MIHSliderView::forgetSlide(const QObject* slide)
{
    // Compared as objects: a slide being destroyed is no longer a widget.
    slides_.removeIf([slide](const QWidget* candidate) {
        return static_cast<const QObject*>(candidate) == slide;
    });
    if (indexOfDisplayedSlide_ >= slides_.size())
        indexOfDisplayedSlide_ = 0;
    dotsControl_->setDotsCount(slides_.size());
}

void MIHSliderView::displaySlideAtIndex(qsizetype index)
{
    if (index < 0 || index >= slides_.size())
        return;
    dotsControl_->setIndexOfHighlightedDot(index);
    QWidget* slide = slides_[index];
    if (slide == displayedSlide_)
        return;
    slide->setGeometry(rect());
    if (displayedSlide_) {
        prepareTransitionToIndex(index);
        replaceDisplayedSlide(slide);
    } else {
        slide->show();
    }
    displayedSlide_ = slide;
    indexOfDisplayedSlide_ = index;
    Q_EMIT displayedSlideChanged(index);
}

void MIHSliderView::prepareTransitionToIndex(qsizetype)
{
    const bool slowDown = QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier) &&
                          transitionAnimationDuration_ != 0.0;
    contentViewTransition_ =
        SlideTransition::Description{slowDown ? kSlowTransitionDuration : kTransitionDuration,
                                     transitionTypeForStyle(transitionStyle_)};
}

void MIHSliderView::replaceDisplayedSlide(QWidget* slide)
{
    // The transition plays pictures of the two states over the content view; the new slide
    // takes its place once the pictures have moved.
    const QPixmap from = contentView_->grab();
    if (runningTransition_)
        runningTransition_->finish();
    displayedSlide_->hide();
    const QPixmap to = slide->grab();
    auto* transition = new SlideTransition(
        contentViewTransition_.value_or(SlideTransition::Description{}), from, to, contentView_);
    contentViewTransition_.reset();
    runningTransition_ = transition;
    transition->start([this, shown = QPointer<QWidget>(slide)] {
        if (shown && shown == displayedSlide_)
            shown->show();
    });
}

bool MIHSliderView::scheduledTransition() const
{
    return transitionTimer_->isActive();
}

QTimer* MIHSliderView::transitionTimer() const
{
    return scheduledTransition() ? transitionTimer_ : nullptr;
}

void MIHSliderView::setScheduledTransition(bool scheduled)
{
    if (scheduled)
        prepareTransitionTimer();
    else
        transitionTimer_->stop();
}

void MIHSliderView::setScheduledTransitionInterval(double seconds)
{
    scheduledTransitionInterval_ = seconds;
    if (scheduledTransition())
        prepareTransitionTimer();
}

void MIHSliderView::prepareTransitionTimer()
{
    transitionTimer_->start(timerIntervalMs(scheduledTransitionInterval_));
}

void MIHSliderView::handleTimerTick()
{
    const qsizetype count = slides_.size();
    if (count == 0)
        return;
    if (repeatingScheduledTransition_)
        displaySlideAtIndex((indexOfDisplayedSlide_ + 1) % count);
    else if (indexOfDisplayedSlide_ + 1 < count)
        displaySlideAtIndex(indexOfDisplayedSlide_ + 1);
}

void MIHSliderView::dotViewSelected(qsizetype tag)
{
    if (scheduledTransition())
        prepareTransitionTimer();
    if (tag < 0 || tag >= slides_.size())
        return;
    transitionStyle_ = tag > dotsControl_->indexOfHighlightedDot() ? TransitionPushFromRight
                                                                   : TransitionPushFromLeft;
    displaySlideAtIndex(tag);
}

void MIHSliderView::wheelEvent(QWheelEvent* event)
{
    event->accept();
    switch (event->phase()) {
    case Qt::ScrollBegin:
        scrollDeltaX_ = 0.0;
        scrollDeltaY_ = 0.0;
        break;
    case Qt::ScrollUpdate: {
        const QPointF delta = scrollingDelta(*event);
        scrollDeltaX_ += delta.x();
        scrollDeltaY_ += delta.y();
        break;
    }
    case Qt::ScrollEnd:
        pageAfterSwipe();
        break;
    default:
        // Momentum and plain wheel turns do not page.
        break;
    }
}

void MIHSliderView::pageAfterSwipe()
{
    const qsizetype count = slides_.size();
    if (count == 0)
        return;
    if (scrollDeltaX_ > kSwipeThreshold) {
        transitionStyle_ = TransitionPushFromLeft;
        displaySlideAtIndex(indexOfDisplayedSlide_ == 0 ? count - 1 : indexOfDisplayedSlide_ - 1);
    } else if (scrollDeltaX_ < -kSwipeThreshold) {
        transitionStyle_ = TransitionPushFromRight;
        displaySlideAtIndex(indexOfDisplayedSlide_ + 1 < count ? indexOfDisplayedSlide_ + 1 : 0);
    } else {
        return;
    }
    if (scheduledTransition())
        prepareTransitionTimer();
}

void MIHSliderView::resizeEvent(QResizeEvent*)
{
    // Laid out by Qt rather than made at their final size, the content and the current slide
    // follow the show, and the dots stay centred 8 pixels above its bottom edge.
    contentView_->setGeometry(rect());
    if (displayedSlide_)
        displayedSlide_->setGeometry(rect());
    dotsControl_->placeInSliderView();
}

} // namespace tolvex
