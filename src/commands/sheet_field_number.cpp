#include "commands/sheet_field_number.h"

#include <cmath>

namespace korvel {

namespace {

std::optional<double> wholeNumberIn(const QString& trimmed, const QLocale& locale) {
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
  QLocale point = QLocale::c();
  point.setNumberOptions(QLocale::RejectGroupSeparator);
  return wholeNumberIn(trimmed, point);
}

}  // namespace korvel
