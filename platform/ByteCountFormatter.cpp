#include "ByteCountFormatter.h"

#include <array>

namespace tolvex {

namespace {

struct Unit {
    const char* name;
    quint64 steps; // shown steps per unit: 1 whole units, 10 one decimal, 100 two decimals
};

constexpr std::array kUnits{Unit{"KB", 1},   Unit{"MB", 10},  Unit{"GB", 100},
                            Unit{"TB", 100}, Unit{"PB", 100}, Unit{"EB", 100}};
constexpr quint64 kUnitFactor = 1000;

} // namespace

QString ByteCountFormatter::stringFromByteCount(qint64 bytes, const QLocale& locale)
{
    if (bytes == 0)
        return QStringLiteral("Zero KB");
    const QString sign = bytes < 0 ? locale.negativeSign() : QString();
    const quint64 magnitude = bytes < 0 ? 0 - quint64(bytes) : quint64(bytes);
    if (magnitude == 1)
        return sign + QStringLiteral("1 byte");
    if (magnitude < kUnitFactor)
        return sign + locale.toString(magnitude) + QStringLiteral(" bytes");

    // Integer rounding, half up, to the unit's shown precision; a count that rounds to 1000
    // units moves on to the next unit.
    quint64 unitBytes = kUnitFactor;
    for (size_t i = 0;; ++i, unitBytes *= kUnitFactor) {
        const Unit& unit = kUnits[i];
        const quint64 stepBytes = unitBytes / unit.steps;
        const quint64 shown = (magnitude + stepBytes / 2) / stepBytes;
        if (shown < kUnitFactor * unit.steps || i + 1 == kUnits.size()) {
            const double value = double(shown) / double(unit.steps);
            return sign + locale.toString(value, 'f', QLocale::FloatingPointShortest) +
                   QLatin1Char(' ') + QLatin1StringView(unit.name);
        }
    }
}

} // namespace tolvex
