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
    m_normalDotImage = coder.decodeObjectForKey(kNormalDotImageKey).value<QPixmap>();
    m_highlightedDotImage = coder.decodeObjectForKey(kHighlightedDotImageKey).value<QPixmap>();
}

void MIHSliderDotsControl::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeObject(kNormalDotImageKey, m_normalDotImage);
    coder.encodeObject(kHighlightedDotImageKey, m_highlightedDotImage);
}

const QPixmap& MIHSliderDotsControl::imageForDot(qsizetype index) const
{
    return index == m_indexOfHighlightedDot ? m_highlightedDotImage : m_normalDotImage;
}

void MIHSliderDotsControl::setDotsCount(qsizetype count)
{
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    m_dots.clear();
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
            if (m_sliderView)
                m_sliderView->_dotViewSelected(i);
        });
        dot->show();
        m_dots << dot;
    }
    placeInSliderView();
}

void MIHSliderDotsControl::setIndexOfHighlightedDot(qsizetype index)
{
    m_indexOfHighlightedDot = index;
    for (qsizetype i = 0; i < m_dots.size(); ++i)
        m_dots[i]->setIcon(imageForDot(i));
}

void MIHSliderDotsControl::placeInSliderView()
{
    // The frame reaches one pitch beyond the last dot; adding that pitch back before halving
    // centres the dots themselves.
    const qreal controlWidth = dotsCount() * kDotPitch + kDotSize;
    const qreal sliderWidth = m_sliderView ? m_sliderView->width() : 0.0;
    const qreal sliderHeight = m_sliderView ? m_sliderView->height() : 0.0;
    const qreal x = (sliderWidth - controlWidth + kDotPitch) * 0.5;
    setGeometry(
        QRectF(x, sliderHeight - kBottomMargin - kDotSize, controlWidth, kDotSize).toRect());
}

} // namespace tolvex
