#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace tolvex {

// A percentage read as a fraction (45% gives 0.45): the whole text must be a number with the
// locale's percent sign before or after it, as the locale writes percentages ("45 %" in
// French). The helper's own form, digits with "%" right after them, is read in every locale.
std::optional<double> parsePercentage(const QString& text, const QLocale& locale = QLocale());

} // namespace tolvex
