#include "commands/sheet_field_number.h"

#include <cmath>

#include "commands/control_numbers.h"

namespace korvel {

namespace {

std::optional<double> wholeNumberIn(const QString& trimmed, QLocale locale) {
  locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
  bool ok = false;
  const double value = locale.toDouble(trimmed, &ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> wholeTextNumber(const QString& text, const QLocale& locale) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return std::nullopt;
  if (const auto regional = wholeNumberIn(trimmed, locale)) return regional;
  // The unit toggles and the restored focal lengths write their numbers with a
  // point whatever the region; read that way, such a cell draws its own cam
  // instead of silently repeating the one before it.
  return wholeNumberIn(trimmed, QLocale::c());
}

std::optional<double> correctionFactorIn(const QString& text, const QLocale& locale) {
  if (const auto whole = wholeTextNumber(text, locale)) return whole;
  return numberIn(text);
}

}  // namespace korvel
