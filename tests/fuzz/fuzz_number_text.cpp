// Any text as a typed number, and every number through every written form.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "common/number_text.h"

using namespace korvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto value = readLeadingNumber(text);
  if (!value) return 0;
  if (!std::isfinite(*value)) std::abort();
  toInt16(*value);
  const auto general = generalNumberText(*value);
  if (!general) std::abort();
  const auto again = readLeadingNumber(*general);
  if (!again || std::fabs(*again - *value) > 1e-14 * std::fabs(*value)) std::abort();
  for (NumberPattern p : {NumberPattern::OneDecimal, NumberPattern::TwoDecimals, NumberPattern::FourDecimals,
                          NumberPattern::FourDecimalsNoLeadingZero}) {
    const auto patterned = formatWithPattern(*value, p);
    if (!patterned || std::count(patterned->begin(), patterned->end(), '.') != 1) std::abort();
    if (!roundedNumberText(*value, p)) std::abort();
  }
  return 0;
}
