// Any text as a typed number or a settings file value, and every number that
// comes out through every written form. Inputs of at least eight bytes also
// give a double bit for bit, so that tiny, huge and non-finite values reach
// the writers as well.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "common/number_text.h"

using namespace korvel;

namespace {

constexpr NumberPattern kPatterns[] = {NumberPattern::OneDecimal, NumberPattern::TwoDecimals,
                                       NumberPattern::FourDecimals,
                                       NumberPattern::FourDecimalsNoLeadingZero};

void checkWritten(double value) {
  const std::optional<std::int16_t> whole = toInt16(value);
  if (whole && !(std::fabs(static_cast<double>(*whole) - value) <= 0.5)) std::abort();

  const std::optional<std::string> general = generalNumberText(value);
  if (std::isfinite(value) != general.has_value()) std::abort();
  if (general) {
    // Fifteen significant digits keep the value to within half a unit of the
    // fifteenth digit.
    // Only the last few doubles below the largest round up past it, and then
    // the text reads back as too large, which every reader treats as a failed
    // step.
    const std::optional<double> again = readLeadingNumber(*general);
    const bool roundsPastLargest = std::fabs(value) > 1.79769313486231e308;
    if (!again && !roundsPastLargest) std::abort();
    if (again && !(std::fabs(*again - value) <= 1e-14 * std::fabs(value))) std::abort();
  }

  for (const NumberPattern pattern : kPatterns) {
    const std::optional<std::string> patterned = formatWithPattern(value, pattern);
    if (std::isfinite(value) != patterned.has_value()) std::abort();
    if (patterned && std::count(patterned->begin(), patterned->end(), '.') != 1) std::abort();
    roundedNumberText(value, pattern);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<double> value = readLeadingNumber(text);
  if (value) {
    if (!std::isfinite(*value)) std::abort();
    checkWritten(*value);
  }
  if (size >= sizeof(double)) {
    double bits = 0;
    std::memcpy(&bits, data, sizeof bits);
    checkWritten(bits);
  }
  return 0;
}
