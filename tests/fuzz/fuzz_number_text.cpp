// Any text as a typed number or a settings file value, and every number that
// comes out through every written form. Inputs of at least eight bytes also
// give a double bit for bit, so that tiny, huge and non-finite values reach
// the writers as well.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/number_text.h"

using namespace korvel;

static void checkWritten(double value) {
  if (const auto whole = toInt16(value); whole && !(std::fabs(*whole - value) <= 0.5)) std::abort();
  const auto general = generalNumberText(value);
  if (std::isfinite(value) != general.has_value()) std::abort();
  if (general) {
    // Fifteen significant digits keep the value to within half a unit of the
    // fifteenth digit. Only the last few doubles below the largest round up
    // past it, and their text reads back as too large: a failed step.
    const auto again = readLeadingNumber(*general);
    if (!again && std::fabs(value) <= 1.79769313486231e308) std::abort();
    if (again && !(std::fabs(*again - value) <= 1e-14 * std::fabs(value))) std::abort();
  }
  using enum NumberPattern;
  for (const auto pattern : {OneDecimal, TwoDecimals, FourDecimals, FourDecimalsNoLeadingZero}) {
    const auto text = formatWithPattern(value, pattern);
    if (std::isfinite(value) != text.has_value()) std::abort();
    if (text && std::count(text->begin(), text->end(), '.') != 1) std::abort();
    roundedNumberText(value, pattern);
  }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto value = readLeadingNumber({reinterpret_cast<const char*>(data), size});
  if (value && !std::isfinite(*value)) std::abort();
  if (value) checkWritten(*value);
  if (size >= sizeof(double)) {
    double bits = 0;
    std::memcpy(&bits, data, sizeof bits);
    checkWritten(bits);
  }
  return 0;
}
