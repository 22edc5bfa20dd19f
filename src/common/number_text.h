#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How texts in the boxes, labels and the settings file become numbers, and how
// numbers are written back. Everything here ignores the user's locale: "." is
// always the decimal point.
namespace korvel {

// Lenient reading of a leading number: blanks, tabs and line feeds are ignored
// wherever they stand, then the longest leading part of the form
// [sign] digits [. digits] [E [sign] digits] is taken ("e" too). A text that does
// not begin with a number reads as 0. A number too large for a double (1e400)
// has no value: nullopt, which callers treat as a failed step. A number too
// small to represent reads as 0.
std::optional<double> readLeadingNumber(std::string_view text);

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2,
// 3.5 -> 4). nullopt when the result lies outside -32768..32767 or the value is
// not finite.
std::optional<std::int16_t> toInt16(double value);

// Shortest decimal text with at most 15 significant digits, no trailing zeros or
// point, "0" before the point below 1 (0.9375), plain digits for ordinary
// magnitudes and an E form only for very large or small ones (1E+20, 1E-05).
// 152.39999999999998 gives "152.4". Non-finite values give nullopt.
std::optional<std::string> generalNumberText(double value);

// The fixed patterns of the program.
enum class NumberPattern {
  OneDecimal,           // "0.#"
  TwoDecimals,          // "0.##"
  FourDecimals,         // "0.####"
  FourDecimalsNoLeadingZero,  // "#.####"
};

// Formats with a pattern: rounded to the pattern's decimals, halves away from
// zero, decided on the value's 15-significant-digit decimal form (2.675 with
// "0.##" gives "2.68"); trailing zeros dropped but the decimal point always
// written ("6." for 6 with "0.#"); "#.####" writes no digit before the point
// when the whole part is 0 (".705", "1.", "2.5"). Non-finite values give
// nullopt.
std::optional<std::string> formatWithPattern(double value, NumberPattern pattern);

// A pattern text read back as a number and written in its shortest form, the
// round trip that the captions and unit conversions use: 152.456 with "0.##"
// gives "152.46", 6 with "0.#" gives "6".
std::optional<std::string> roundedNumberText(double value, NumberPattern pattern);

}  // namespace korvel
