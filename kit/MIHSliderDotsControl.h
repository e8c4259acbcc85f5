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

    QPixmap normalDotImage() const { return normalDotImage_; }
    void setNormalDotImage(const QPixmap& image) { normalDotImage_ = image; }
    QPixmap highlightedDotImage() const { return highlightedDotImage_; }
    void setHighlightedDotImage(const QPixmap& image) { highlightedDotImage_ = image; }

    qsizetype dotsCount() const { return dots_.size(); }
    // Makes the dots anew and sizes the control to them, centred under the slide show.
    void setDotsCount(qsizetype count);
    qsizetype indexOfHighlightedDot() const { return indexOfHighlightedDot_; }
    void setIndexOfHighlightedDot(qsizetype index);

    // The slide show the dots page through; not owned (the slide show owns the control).
    MIHSliderView* sliderView() const { return sliderView_; }
    void setSliderView(MIHSliderView* sliderView) { sliderView_ = sliderView; }

    // The dot buttons, left to right; a dot's index is its tag.
    QList<QPushButton*> dots() const { return dots_; }

private:
    friend class MIHSliderView;

    const QPixmap& imageForDot(qsizetype index) const;
    void placeInSliderView();

    QPixmap normalDotImage_;
    QPixmap highlightedDotImage_;
    qsizetype indexOfHighlightedDot_ = 0;
    MIHSliderView* sliderView_ = nullptr;
    QList<QPushButton*> dots_;
};

} // namespace tolvex
