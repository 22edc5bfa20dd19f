// Any text in a cam sheet field: a number comes out finite or not at all.
#include <QLocale>
#include <QString>
#include <cmath>
#include <cstdlib>

#include "commands/sheet_field_number.h"

using namespace korvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German)}) {
    const auto value = wholeTextNumber(text, locale);
    if (value && !std::isfinite(*value)) std::abort();
  }
  return 0;
}
