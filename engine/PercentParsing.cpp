#include "engine/PercentParsing.h"

namespace tolvex {

namespace {

std::optional<QString> numberBesidePercentSign(const QString& text, const QString& percent)
{
    if (text.endsWith(percent)) {
        return text.chopped(percent.size()).trimmed();
    }
    if (text.startsWith(percent)) {
        return text.mid(percent.size()).trimmed();
    }
    return std::nullopt;
}

std::optional<double> numberIn(const QString& text, const QString& percent, const QLocale& locale)
{
    const auto number = numberBesidePercentSign(text, percent);
    if (!number || number->isEmpty()) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = locale.toDouble(*number, &ok);
    return ok ? std::optional<double>(value / 100.0) : std::nullopt;
}

} // namespace

std::optional<double> parsePercentage(const QString& text, const QLocale& locale)
{
    const QString trimmed = text.trimmed();
    if (const auto value = numberIn(trimmed, locale.percent(), locale)) {
        return value;
    }
    return numberIn(trimmed, QStringLiteral("%"), QLocale::c());
}

} // namespace tolvex
