#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <cstdlib>

// Helpers for tests that look at rendered pixels.
namespace tolvex::PixelChecks {

// The widget as it draws itself, without device scaling.
inline QImage render(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// `top` painted over an opaque `bottom`.
inline QColor over(const QColor& top, const QColor& bottom)
{
    const qreal a = top.alphaF();
    return QColor::fromRgbF(top.redF() * a + bottom.redF() * (1 - a),
                            top.greenF() * a + bottom.greenF() * (1 - a),
                            top.blueF() * a + bottom.blueF() * (1 - a));
}

inline bool close(const QColor& actual, const QColor& expected, int tolerance)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

} // namespace tolvex::PixelChecks

#define QVERIFY_COLOR(actual, expected, tolerance)                                                 \
    QVERIFY2(                                                                                      \
        tolvex::PixelChecks::close((actual), (expected), (tolerance)),                             \
        qPrintable(QStringLiteral("%1 is not close to %2")                                         \
                       .arg((actual).name(QColor::HexArgb), (expected).name(QColor::HexArgb))))
