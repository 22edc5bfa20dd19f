// Any text in a cam sheet field, read in the C format and in the German one
// (decimal comma): a number comes out finite or not at all.
#include <QLocale>
#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "commands/sheet_field_number.h"

using namespace korvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::German)};
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  for (const QLocale& locale : locales) {
    const auto value = wholeTextNumber(text, locale);
    if (value && !std::isfinite(*value)) std::abort();
  }
  return 0;
}
