#include "MRSubtleButton.h"

#include "MRSubtleButtonDelegate.h"
#include "kit/ApplicationModal.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <array>

namespace tolvex {

namespace {

// The face is inset by one pixel, and its top edge by one more; its corners are square because
// the vertical corner radius is 0.
constexpr qreal kFaceInset = 1.0;
constexpr qreal kFaceTopTrim = 1.0;
constexpr qreal kFaceCornerRadiusX = 4.0;
constexpr qreal kFaceCornerRadiusY = 0.0;

constexpr qreal kTitleMargin = 15.0;
constexpr qreal kTitleRaise = 4.0;
constexpr int kDefaultTitlePixelSize = 17;
const auto kDefaultTitleFamily = QStringLiteral("Helvetica");

enum ClassColor { NormalStart, NormalEnd, PressedStart, PressedEnd };

// Shared by every button, made once.
const std::array<QColor, 4>& classDefaultColors()
{
    static const std::array<QColor, 4> colors = [] {
        const auto grey = [](int level) {
            return QColor::fromRgbF(level / 255.0, level / 255.0, level / 255.0);
        };
        return std::array<QColor, 4>{grey(233), grey(246), grey(184), grey(228)};
    }();
    return colors;
}

// Pressing a modifier key alone only changes the modifiers; it is no key press of its own.
bool isModifierKey(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}

} // namespace

MRSubtleButton::MRSubtleButton(QWidget* parent) : QWidget(parent)
{
    resetGradientColors();
    // A button that can be tabbed to, like any key view; clicks do not move the focus.
    setFocusPolicy(Qt::TabFocus);
    qApp->installEventFilter(this);
}

MRSubtleButton::~MRSubtleButton()
{
    qApp->removeEventFilter(this);
}

void MRSubtleButton::setTitle(const QString& title)
{
    // The same string object is the same characters in the same storage.
    if (title.constData() == title_.constData() && title.size() == title_.size())
        return;
    title_ = title;
    update();
}

void MRSubtleButton::setGradientWithStartColor(const QColor& startColor, const QColor& endColor)
{
    startColor_ = startColor;
    endColor_ = endColor;
    update();
}

void MRSubtleButton::setHighlightGradientWithStartColor(const QColor& startColor,
                                                        const QColor& endColor)
{
    highlightStartColor_ = startColor;
    highlightEndColor_ = endColor;
}

void MRSubtleButton::setFontAttributesWithFont(const QFont& font, const QColor& color)
{
    setFont(font);
    fontColor_ = color;
    update();
}

void MRSubtleButton::resetGradient()
{
    resetGradientColors();
    update();
}

void MRSubtleButton::resetGradientColors()
{
    const auto& defaults = classDefaultColors();
    startColor_ = defaults[NormalStart];
    endColor_ = defaults[NormalEnd];
    highlightStartColor_ = defaults[PressedStart];
    highlightEndColor_ = defaults[PressedEnd];
}

QFont MRSubtleButton::titleFont() const
{
    if (testAttribute(Qt::WA_SetFont))
        return font();
    QFont fallback(kDefaultTitleFamily);
    fallback.setStyleHint(QFont::SansSerif);
    fallback.setPixelSize(kDefaultTitlePixelSize);
    return fallback;
}

QSizeF MRSubtleButton::titleSize() const
{
    const QFontMetricsF metrics(titleFont());
    return {metrics.horizontalAdvance(title_), metrics.height()};
}

QPointF MRSubtleButton::titleOrigin() const
{
    const QSizeF size = titleSize();
    qreal x = kTitleMargin;
    if (alignment_ == AlignmentCentred)
        x = width() * 0.5 - size.width() * 0.5;
    else if (alignment_ == AlignmentRight)
        x = width() - size.width() - kTitleMargin;
    // The title's centre sits above the button's centre; y grows downwards here.
    const qreal y = height() * 0.5 - kTitleRaise - size.height() * 0.5;
    return {x, y};
}

void MRSubtleButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF face =
        QRectF(rect()).adjusted(kFaceInset, kFaceInset + kFaceTopTrim, -kFaceInset, -kFaceInset);
    QPainterPath shape;
    shape.addRoundedRect(face, kFaceCornerRadiusX, kFaceCornerRadiusY);
    QLinearGradient gradient(face.bottomLeft(), face.topLeft());
    gradient.setColorAt(0.0, selected_ ? highlightStartColor_ : startColor_);
    gradient.setColorAt(1.0, selected_ ? highlightEndColor_ : endColor_);
    painter.fillPath(shape, gradient);

    painter.setFont(titleFont());
    painter.setPen(fontColor_.isValid() ? fontColor_ : QColor(Qt::black));
    painter.drawText(QRectF(titleOrigin(), titleSize()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, title_);
}

void MRSubtleButton::mousePressEvent(QMouseEvent* event)
{
    handleMouse(event, true);
}

void MRSubtleButton::mouseReleaseEvent(QMouseEvent* event)
{
    handleMouse(event, false);
}

void MRSubtleButton::handleMouse(QMouseEvent* event, bool pressed)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    selected_ = pressed;
    update();
    if (delegate_)
        delegate_->subtleButtonEvent(event, this);
}

void MRSubtleButton::keyPressEvent(QKeyEvent* event)
{
    if (delegate_ && !isModifierKey(*event))
        delegate_->viewDidHandleEvent(this, event);
}

void MRSubtleButton::keyReleaseEvent(QKeyEvent*) {}

bool MRSubtleButton::isKeyEquivalentForThisWindow(QObject* receiver, QEvent* event) const
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (!(keyEvent->modifiers() & Qt::ControlModifier) || isModifierKey(*keyEvent))
        return false;
    const auto* target = qobject_cast<QWidget*>(receiver);
    // A screen, sheet, panel or popover over the window keeps its keys, its text fields' editing
    // keys among them.
    return target && isVisible() && target->window() == window() &&
           !ApplicationModal::isBlocked(this);
}

bool MRSubtleButton::eventFilter(QObject* watched, QEvent* event)
{
    if (!isKeyEquivalentForThisWindow(watched, event))
        return false;
    auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::KeyPress)
        return performKeyEquivalent(keyEvent);
    // Accepting the override keeps the window's shortcuts from taking the key, so the key press
    // that follows comes here as the key equivalent.
    keyEvent->accept();
    return true;
}

bool MRSubtleButton::performKeyEquivalent(QKeyEvent* event)
{
    if (delegate_)
        delegate_->viewDidHandleEvent(this, event);
    return true;
}

} // namespace tolvex
