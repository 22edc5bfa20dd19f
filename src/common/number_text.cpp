#include "common/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

// std::from_chars and std::to_chars never look at the C locale, which Qt sets
// from the environment; nothing here may use strtod, printf or streams.
namespace korvel {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isIgnoredBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

std::string withoutBlanks(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (const char c : text) {
    if (!isIgnoredBlank(c)) kept.push_back(c);
  }
  return kept;
}

std::size_t skipDigits(std::string_view text, std::size_t pos) {
  while (pos < text.size() && isDigit(text[pos])) ++pos;
  return pos;
}

// The parts of the longest leading [sign] digits [. digits] [E [sign] digits].
struct LeadingNumber {
  bool negative = false;
  std::string_view mantissa;  // digits [. digits], without the sign
  std::string_view exponent;  // [sign] digits after the E, empty when there is none
};

std::optional<LeadingNumber> scanLeadingNumber(std::string_view text) {
  LeadingNumber number;
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    number.negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t mantissaStart = pos;
  pos = skipDigits(text, pos);
  bool anyDigit = pos > mantissaStart;
  if (pos < text.size() && text[pos] == '.') {
    const std::size_t fractionStart = pos + 1;
    pos = skipDigits(text, fractionStart);
    anyDigit = anyDigit || pos > fractionStart;
  }
  if (!anyDigit) return std::nullopt;
  number.mantissa = text.substr(mantissaStart, pos - mantissaStart);

  if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
    std::size_t expPos = pos + 1;
    if (expPos < text.size() && (text[expPos] == '+' || text[expPos] == '-')) ++expPos;
    const std::size_t expEnd = skipDigits(text, expPos);
    if (expEnd > expPos) number.exponent = text.substr(pos + 1, expEnd - pos - 1);
  }
  return number;
}

// The exponent's value, held far beyond any double's range instead of
// overflowing.
long long clampedExponent(std::string_view exponent) {
  constexpr long long kLimit = 1'000'000'000;
  if (exponent.empty()) return 0;
  const bool negative = exponent.front() == '-';
  long long value = 0;
  for (const char c : exponent) {
    if (isDigit(c)) value = std::min(kLimit, value * 10 + (c - '0'));
  }
  return negative ? -value : value;
}

// Power of ten of the leading non-zero digit; only its sign matters, to tell a
// number too large for a double from one too small.
long long leadingPowerOfTen(const LeadingNumber& number) {
  const std::string_view m = number.mantissa;
  const std::size_t point = std::min(m.find('.'), m.size());
  const std::size_t first = m.find_first_not_of("0.");
  if (first == std::string_view::npos) return -1;  // zero is never too large
  const long long whole = first < point ? static_cast<long long>(point - first) - 1
                                        : -static_cast<long long>(first - point);
  return whole + clampedExponent(number.exponent);
}

// Decimal digits of a value: 0.d1d2d3... times 10^pointPos.
struct DecimalDigits {
  bool negative = false;
  std::string digits;
  int pointPos = 0;
};

// The value rounded to 15 significant digits, the precision that decides how
// pattern texts round.
DecimalDigits fifteenDigits(double value) {
  char buffer[32];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  const std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));

  DecimalDigits result;
  std::size_t pos = 0;
  if (text[pos] == '-') {
    result.negative = true;
    ++pos;
  }
  const std::size_t e = text.find('e');
  for (std::size_t i = pos; i < e; ++i) {
    if (isDigit(text[i])) result.digits.push_back(text[i]);
  }
  std::size_t expPos = e + 1;
  if (text[expPos] == '+') ++expPos;
  int exponent = 0;
  std::from_chars(text.data() + expPos, text.data() + text.size(), exponent);
  result.pointPos = exponent + 1;
  return result;
}

// Adds one to a string of decimal digits.
void incrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

// The value times 10^decimals as whole digits, rounded half away from zero on
// the decimal digits themselves.
std::string scaledRoundedDigits(const DecimalDigits& value, int decimals) {
  const int keep = value.pointPos + decimals;
  const int available = static_cast<int>(value.digits.size());
  if (keep >= available) {
    return value.digits + std::string(static_cast<std::size_t>(keep - available), '0');
  }
  if (keep < 0) return "0";
  std::string kept = value.digits.substr(0, static_cast<std::size_t>(keep));
  if (value.digits[static_cast<std::size_t>(keep)] >= '5') incrementDigits(kept);
  return kept.empty() ? "0" : kept;
}

int decimalsOf(NumberPattern pattern) {
  switch (pattern) {
    case NumberPattern::OneDecimal:
      return 1;
    case NumberPattern::TwoDecimals:
      return 2;
    case NumberPattern::FourDecimals:
    case NumberPattern::FourDecimalsNoLeadingZero:
      return 4;
  }
  return 0;
}

// Writes digits that stand for the value times 10^decimals as whole part, point
// and fraction without trailing zeros.
std::string writeFixed(std::string scaled, int decimals, bool negative, bool leadingZero) {
  const auto fractionLength = static_cast<std::size_t>(decimals);
  if (scaled.size() <= fractionLength) {
    scaled.insert(0, fractionLength + 1 - scaled.size(), '0');
  }
  const std::size_t wholeLength = scaled.size() - fractionLength;
  const std::size_t firstDigit = scaled.find_first_not_of('0');
  const bool isZero = firstDigit == std::string::npos;

  // Built by appending: assigning a literal to the whole part trips a false
  // overlap warning of GCC 12 in optimised builds.
  std::string text = negative && !isZero ? "-" : "";
  if (firstDigit < wholeLength) {
    text.append(scaled, firstDigit, wholeLength - firstDigit);
  } else if (leadingZero) {
    text.push_back('0');
  }
  text.push_back('.');
  const std::size_t lastDigit = scaled.find_last_not_of('0');
  if (!isZero && lastDigit >= wholeLength) text.append(scaled, wholeLength, lastDigit + 1 - wholeLength);
  return text;
}

}  // namespace

std::optional<double> readLeadingNumber(std::string_view text) {
  const std::string compact = withoutBlanks(text);
  const std::optional<LeadingNumber> number = scanLeadingNumber(compact);
  if (!number) return 0.0;

  // The exponent directly follows the mantissa, so one range covers both.
  const char* first = number->mantissa.data();
  const char* last = number->exponent.empty() ? first + number->mantissa.size()
                                              : number->exponent.data() + number->exponent.size();
  double magnitude = 0.0;
  const auto parsed = std::from_chars(first, last, magnitude, std::chars_format::general);
  if (parsed.ec == std::errc::result_out_of_range) {
    if (leadingPowerOfTen(*number) >= 0) return std::nullopt;
    magnitude = 0.0;
  } else if (parsed.ec != std::errc()) {
    return 0.0;
  }
  return number->negative ? -magnitude : magnitude;
}

std::optional<std::int16_t> toInt16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  // The program never changes the rounding mode, so this rounds halves to even.
  const double rounded = std::nearbyint(value);
  if (rounded < std::numeric_limits<std::int16_t>::min() ||
      rounded > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(rounded);
}

std::optional<std::string> generalNumberText(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  if (value == 0.0) return "0";
  char buffer[32];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string text(buffer, written.ptr);
  std::replace(text.begin(), text.end(), 'e', 'E');
  return text;
}

std::optional<std::string> formatWithPattern(double value, NumberPattern pattern) {
  if (!std::isfinite(value)) return std::nullopt;
  const int decimals = decimalsOf(pattern);
  const DecimalDigits digits = fifteenDigits(value);
  return writeFixed(scaledRoundedDigits(digits, decimals), decimals, digits.negative,
                    pattern != NumberPattern::FourDecimalsNoLeadingZero);
}

std::optional<std::string> roundedNumberText(double value, NumberPattern pattern) {
  const std::optional<std::string> patterned = formatWithPattern(value, pattern);
  if (!patterned) return std::nullopt;
  const std::optional<double> number = readLeadingNumber(*patterned);
  if (!number) return std::nullopt;
  return generalNumberText(*number);
}

}  // namespace korvel
