#pragma once

#include "Coding.h"

#include <QList>
#include <QPixmap>
#include <QWidget>

class QPushButton;

namespace tolvex {

class KeyedUnarchiver;
class MIHSliderView;

// The row of page dots under a slide show: one 15 x 15 image button per slide, 22 apart, the
// current one highlighted. A click on a dot asks the slide show for that slide.
class MIHSliderDotsControl : public QWidget, public Coding {
    Q_OBJECT

public:
    explicit MIHSliderDotsControl(QWidget* parent = nullptr);
    // Reads the two dot images; the dots themselves are made by setDotsCount.
    explicit MIHSliderDotsControl(const KeyedUnarchiver& coder, QWidget* parent = nullptr);

    void encodeWithCoder(KeyedArchiver& coder) const override;

    QPixmap normalDotImage() const { return m_normalDotImage; }
    void setNormalDotImage(const QPixmap& image) { m_normalDotImage = image; }
    QPixmap highlightedDotImage() const { return m_highlightedDotImage; }
    void setHighlightedDotImage(const QPixmap& image) { m_highlightedDotImage = image; }

    qsizetype dotsCount() const { return m_dots.size(); }
    // Makes the dots anew and sizes the control to them, centred under the slide show.
    void setDotsCount(qsizetype count);
    qsizetype indexOfHighlightedDot() const { return m_indexOfHighlightedDot; }
    void setIndexOfHighlightedDot(qsizetype index);

    // The slide show the dots page through; not owned (the slide show owns the control).
    MIHSliderView* sliderView() const { return m_sliderView; }
    void setSliderView(MIHSliderView* sliderView) { m_sliderView = sliderView; }

    // The dot buttons, left to right; a dot's index is its tag.
    QList<QPushButton*> dots() const { return m_dots; }

private:
    friend class MIHSliderView;

    const QPixmap& imageForDot(qsizetype index) const;
    void placeInSliderView();

    QPixmap m_normalDotImage;
    QPixmap m_highlightedDotImage;
    qsizetype m_indexOfHighlightedDot = 0;
    MIHSliderView* m_sliderView = nullptr;
    QList<QPushButton*> m_dots;
};

} // namespace tolvex
