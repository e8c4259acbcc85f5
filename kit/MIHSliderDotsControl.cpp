#include "MIHSliderDotsControl.h"

#include "KeyedArchiver.h"
#include "KeyedUnarchiver.h"
#include "MIHSliderView.h"

#include <QPushButton>

namespace tolvex {

namespace {

constexpr qreal kDotSize = 15.0;
constexpr qreal kDotPitch = 22.0;
constexpr qreal kBottomMargin = 8.0;

const auto kNormalDotImageKey = QStringLiteral("_normalDotImage");
const auto kHighlightedDotImageKey = QStringLiteral("_highlightedDotImage");

} // namespace

MIHSliderDotsControl::MIHSliderDotsControl(QWidget* parent) : QWidget(parent) {}

MIHSliderDotsControl::MIHSliderDotsControl(const KeyedUnarchiver& coder, QWidget* parent)
    : QWidget(parent)
{
    normalDotImage_ = coder.decodeObjectForKey(kNormalDotImageKey).value<QPixmap>();
    highlightedDotImage_ = coder.decodeObjectForKey(kHighlightedDotImageKey).value<QPixmap>();
}

void MIHSliderDotsControl::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeObject(kNormalDotImageKey, normalDotImage_);
    coder.encodeObject(kHighlightedDotImageKey, highlightedDotImage_);
}

const QPixmap& MIHSliderDotsControl::imageForDot(qsizetype index) const
{
    return index == indexOfHighlightedDot_ ? highlightedDotImage_ : normalDotImage_;
}

void MIHSliderDotsControl::setDotsCount(qsizetype count)
{
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    dots_.clear();
    for (qsizetype i = 0; i < count; ++i) {
        auto* dot = new QPushButton(this);
        dot->setGeometry(QRectF(i * kDotPitch, 0.0, kDotSize, kDotSize).toRect());
        dot->setIcon(imageForDot(i));
        dot->setIconSize(QSize(kDotSize, kDotSize));
        dot->setFlat(true);
        dot->setFocusPolicy(Qt::NoFocus);
        // Only the image shows: no bezel, no frame, the same image while pressed.
        dot->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0px; }"));
        connect(dot, &QPushButton::clicked, this, [this, i] {
            if (sliderView_)
                sliderView_->dotViewSelected(i);
        });
        dot->show();
        dots_ << dot;
    }
    placeInSliderView();
}

void MIHSliderDotsControl::setIndexOfHighlightedDot(qsizetype index)
{
    indexOfHighlightedDot_ = index;
    for (qsizetype i = 0; i < dots_.size(); ++i)
        dots_[i]->setIcon(imageForDot(i));
}

void MIHSliderDotsControl::placeInSliderView()
{
    // The frame reaches one pitch beyond the last dot; adding that pitch back before halving
    // centres the dots themselves.
    const qreal controlWidth = dotsCount() * kDotPitch + kDotSize;
    const qreal sliderWidth = sliderView_ ? sliderView_->width() : 0.0;
    const qreal sliderHeight = sliderView_ ? sliderView_->height() : 0.0;
    const qreal x = (sliderWidth - controlWidth + kDotPitch) * 0.5;
    setGeometry(
        QRectF(x, sliderHeight - kBottomMargin - kDotSize, controlWidth, kDotSize).toRect());
}

} // namespace tolvex
