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
    _prepareView();
    m_transitionStyle = TransitionFade;
    m_scheduledTransitionInterval = kDefaultScheduledTransitionInterval;
    m_transitionAnimationDuration = kDefaultTransitionAnimationDuration;
    m_repeatingScheduledTransition = true;
    setScheduledTransition(true);
}

MIHSliderView::MIHSliderView(const KeyedUnarchiver& coder, QWidget* parent) : QWidget(parent)
{
    _prepareView();
    for (const QVariant& archived : coder.decodeObjectForKey(kSlidesKey).toList()) {
        if (QWidget* slide = coder.unarchivedWidget(archived))
            adoptSlide(slide);
    }
    setIndexOfDisplayedSlide(coder.decodeIntegerForKey(kIndexOfDisplayedSlideKey));
    m_transitionStyle = coder.decodeIntForKey(kTransitionStyleKey);
    m_scheduledTransitionInterval = coder.decodeDoubleForKey(kScheduledTransitionIntervalKey);
    m_transitionAnimationDuration = coder.decodeDoubleForKey(kTransitionAnimationDurationKey);
    m_repeatingScheduledTransition = coder.decodeBoolForKey(kRepeatingScheduledTransitionKey);
    if (coder.containsValueForKey(kDotsControlKey)) {
        replaceDotsControl(new MIHSliderDotsControl(
            coder.nestedUnarchiver(coder.decodeObjectForKey(kDotsControlKey)), this));
    }
    setScheduledTransition(coder.decodeBoolForKey(kScheduledTransitionKey));
}

MIHSliderView::~MIHSliderView()
{
    // The slides die with the show and must not report back to it while it goes.
    for (const QWidget* slide : std::as_const(m_slides))
        disconnect(slide, &QObject::destroyed, this, &MIHSliderView::forgetSlide);
}

void MIHSliderView::encodeWithCoder(KeyedArchiver& coder) const
{
    QVariantList slides;
    for (const QWidget* slide : m_slides)
        slides << KeyedArchiver::archivedWidget(*slide);
    coder.encodeObject(kSlidesKey, slides);
    coder.encodeInteger(kIndexOfDisplayedSlideKey, m_indexOfDisplayedSlide);
    coder.encodeInt(kTransitionStyleKey, m_transitionStyle);
    coder.encodeDouble(kScheduledTransitionIntervalKey, m_scheduledTransitionInterval);
    coder.encodeDouble(kTransitionAnimationDurationKey, m_transitionAnimationDuration);
    coder.encodeBool(kRepeatingScheduledTransitionKey, m_repeatingScheduledTransition);
    KeyedArchiver dotsCoder;
    m_dotsControl->encodeWithCoder(dotsCoder);
    coder.encodeObject(kDotsControlKey, dotsCoder.encodedData());
    coder.encodeBool(kScheduledTransitionKey, scheduledTransition());
}

void MIHSliderView::_prepareView()
{
    m_transitionTimer = new QTimer(this);
    connect(m_transitionTimer, &QTimer::timeout, this, &MIHSliderView::_handleTimerTick);

    m_contentView = new QWidget(this);
    m_contentView->setGeometry(rect());

    m_dotsControl = new MIHSliderDotsControl(this);
    m_dotsControl->setSliderView(this);
    m_dotsControl->setNormalDotImage(QPixmap(kNormalDotImageName));
    m_dotsControl->setHighlightedDotImage(QPixmap(kHighlightedDotImageName));
    m_dotsControl->raise();
}

void MIHSliderView::replaceDotsControl(MIHSliderDotsControl* dotsControl)
{
    delete m_dotsControl;
    m_dotsControl = dotsControl;
    // The archive keeps neither the dots nor the link back to the show: both are made again
    // from the slides, so the restored dots work.
    m_dotsControl->setSliderView(this);
    m_dotsControl->setIndexOfHighlightedDot(m_indexOfDisplayedSlide);
    m_dotsControl->setDotsCount(m_slides.size());
    m_dotsControl->raise();
}

void MIHSliderView::adoptSlide(QWidget* slide)
{
    slide->hide();
    slide->setParent(m_contentView);
    m_slides << slide;
    connect(slide, &QObject::destroyed, this, &MIHSliderView::forgetSlide);
}

void MIHSliderView::addSlide(QWidget* slide)
{
    if (!slide)
        return;
    adoptSlide(slide);
    if (m_slides.size() == 1)
        displaySlideAtIndex(0);
    m_dotsControl->setDotsCount(m_slides.size());
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
    m_slides.removeIf([slide](const QWidget* candidate) {
        return static_cast<const QObject*>(candidate) == slide;
    });
    if (m_indexOfDisplayedSlide >= m_slides.size())
        m_indexOfDisplayedSlide = 0;
    m_dotsControl->setDotsCount(m_slides.size());
}

void MIHSliderView::displaySlideAtIndex(qsizetype index)
{
    if (index < 0 || index >= m_slides.size())
        return;
    m_dotsControl->setIndexOfHighlightedDot(index);
    QWidget* slide = m_slides[index];
    if (slide == m_displayedSlide)
        return;
    slide->setGeometry(rect());
    if (m_displayedSlide) {
        _prepareTransitionToIndex(index);
        replaceDisplayedSlide(slide);
    } else {
        slide->show();
    }
    m_displayedSlide = slide;
    m_indexOfDisplayedSlide = index;
    Q_EMIT displayedSlideChanged(index);
}

void MIHSliderView::_prepareTransitionToIndex(qsizetype)
{
    const bool slowDown = QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier) &&
                          m_transitionAnimationDuration != 0.0;
    m_contentViewTransition =
        SlideTransition::Description{slowDown ? kSlowTransitionDuration : kTransitionDuration,
                                     transitionTypeForStyle(m_transitionStyle)};
}

void MIHSliderView::replaceDisplayedSlide(QWidget* slide)
{
    // The transition plays pictures of the two states over the content view; the new slide
    // takes its place once the pictures have moved.
    const QPixmap from = m_contentView->grab();
    if (m_runningTransition)
        m_runningTransition->finish();
    m_displayedSlide->hide();
    const QPixmap to = slide->grab();
    auto* transition = new SlideTransition(
        m_contentViewTransition.value_or(SlideTransition::Description{}), from, to, m_contentView);
    m_contentViewTransition.reset();
    m_runningTransition = transition;
    transition->start([this, shown = QPointer<QWidget>(slide)] {
        if (shown && shown == m_displayedSlide)
            shown->show();
    });
}

bool MIHSliderView::scheduledTransition() const
{
    return m_transitionTimer->isActive();
}

QTimer* MIHSliderView::transitionTimer() const
{
    return scheduledTransition() ? m_transitionTimer : nullptr;
}

void MIHSliderView::setScheduledTransition(bool scheduled)
{
    if (scheduled)
        _prepareTransitionTimer();
    else
        m_transitionTimer->stop();
}

void MIHSliderView::setScheduledTransitionInterval(double seconds)
{
    m_scheduledTransitionInterval = seconds;
    if (scheduledTransition())
        _prepareTransitionTimer();
}

void MIHSliderView::_prepareTransitionTimer()
{
    m_transitionTimer->start(timerIntervalMs(m_scheduledTransitionInterval));
}

void MIHSliderView::_handleTimerTick()
{
    const qsizetype count = m_slides.size();
    if (count == 0)
        return;
    if (m_repeatingScheduledTransition)
        displaySlideAtIndex((m_indexOfDisplayedSlide + 1) % count);
    else if (m_indexOfDisplayedSlide + 1 < count)
        displaySlideAtIndex(m_indexOfDisplayedSlide + 1);
}

void MIHSliderView::_dotViewSelected(qsizetype tag)
{
    if (scheduledTransition())
        _prepareTransitionTimer();
    if (tag < 0 || tag >= m_slides.size())
        return;
    m_transitionStyle = tag > m_dotsControl->indexOfHighlightedDot() ? TransitionPushFromRight
                                                                     : TransitionPushFromLeft;
    displaySlideAtIndex(tag);
}

void MIHSliderView::wheelEvent(QWheelEvent* event)
{
    event->accept();
    switch (event->phase()) {
    case Qt::ScrollBegin:
        m_scrollDeltaX = 0.0;
        m_scrollDeltaY = 0.0;
        break;
    case Qt::ScrollUpdate: {
        const QPointF delta = scrollingDelta(*event);
        m_scrollDeltaX += delta.x();
        m_scrollDeltaY += delta.y();
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
    const qsizetype count = m_slides.size();
    if (count == 0)
        return;
    if (m_scrollDeltaX > kSwipeThreshold) {
        m_transitionStyle = TransitionPushFromLeft;
        displaySlideAtIndex(m_indexOfDisplayedSlide == 0 ? count - 1 : m_indexOfDisplayedSlide - 1);
    } else if (m_scrollDeltaX < -kSwipeThreshold) {
        m_transitionStyle = TransitionPushFromRight;
        displaySlideAtIndex(m_indexOfDisplayedSlide + 1 < count ? m_indexOfDisplayedSlide + 1 : 0);
    } else {
        return;
    }
    if (scheduledTransition())
        _prepareTransitionTimer();
}

void MIHSliderView::resizeEvent(QResizeEvent*)
{
    // Laid out by Qt rather than made at their final size, the content and the current slide
    // follow the show, and the dots stay centred 8 pixels above its bottom edge.
    m_contentView->setGeometry(rect());
    if (m_displayedSlide)
        m_displayedSlide->setGeometry(rect());
    m_dotsControl->placeInSliderView();
}

} // namespace tolvex
