#include "QBButton.h"

#include <QApplication>
#include <QPainter>
#include <QtMath>

namespace tolvex {

namespace {

constexpr qreal kDefaultCornerRadius = 4.0;
constexpr int kDefaultFontPixelSize = 13;
const QMarginsF kDefaultPadding(13.0, 2.0, 13.0, 2.0); // left, top, right, bottom

QColor whiteLevel(qreal white, qreal alpha)
{
    return QColor::fromRgbF(white, white, white, alpha);
}

} // namespace

QBButton::QBButton(QWidget* parent) : QPushButton(parent)
{
    cell_.setCornerRadius(kDefaultCornerRadius);
    setBackgroundColor(whiteLevel(0.0, 0.3));
    setHighlightColor(whiteLevel(0.0, 0.3));
    setTextColor(whiteLevel(0.2, 0.9));
    setHighlightTextColor(whiteLevel(0.2, 0.5));
    setPadding(kDefaultPadding);
    QFont systemFont = QApplication::font();
    systemFont.setPixelSize(kDefaultFontPixelSize);
    setFont(systemFont);
    setFlat(true);
}

QBButton::QBButton(const QColor& highlightColor, QWidget* parent) : QBButton(parent)
{
    setHighlightColor(highlightColor);
    setHighlightTextColor(highlightColor);
}

QSize QBButton::sizeHint() const
{
    const QSizeF size = cell_.cellSize();
    return {qCeil(size.width()), qCeil(size.height())};
}

void QBButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont titleFont = font();
    if (!subpixelAntialiasing_) {
        titleFont.setStyleStrategy(QFont::NoSubpixelAntialias);
        titleFont.setHintingPreference(QFont::PreferFullHinting);
    }
    painter.setFont(titleFont);
    cell_.drawBezelWithFrame(painter, rect());
    cell_.drawInteriorWithFrame(painter, rect());
}

} // namespace tolvex
