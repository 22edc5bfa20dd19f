#include "common/number_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace korvel {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMm = 25.4;
const std::string k400 = std::string(400, '0');

// Each row is named by the text it reads; nullopt: too large for a double.
TEST(NumberText, LenientReading) {
  const std::pair<std::string, std::optional<double>> rows[] = {
      {"150", 150}, {"-.25", -0.25}, {"5.", 5}, {"2e3", 2e3}, {"1.5e-3", 1.5e-3}, {"1 5 0", 150},
      {" \t12\n3", 123}, {"  -  4", -4}, {"2E -\t1", 0.2}, {"150%75", 150}, {"150mm", 150},
      {"0,95", 0}, {"1e", 1}, {"1E-", 1}, {"1.2.3", 1.2}, {"12\r3", 12}, {"0x1A", 0}, {"--5", 0},
      {"", 0}, {"abc", 0}, {"-.e5", 0}, {"inf", 0}, {"nan", 0}, {"\r5", 0}, {"1e-400", 0},
      {"0." + k400 + "1", 0}, {"1" + k400 + "e-400", 1}, {"1" + std::string(299, '0'), 1e299},
      {"1e400", std::nullopt}, {"0.001e312", std::nullopt}, {"1" + k400, std::nullopt},
      {"1E99999999999999999999", std::nullopt}, {"-1e400", std::nullopt}};
  for (const auto& [text, expected] : rows)
    EXPECT_EQ(readLeadingNumber(text), expected) << text.substr(0, 40);
}

// Halves go to the even neighbour; a value beyond 16 bits has none.
TEST(NumberText, SixteenBitConversion) {
  const std::pair<double, std::optional<std::int16_t>> rows[] = {
      {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2}, {2.5001, 3}, {-0.4, 0},
      {32767.4, 32767}, {32767.5, std::nullopt}, {-32768.5, -32768}, {-32768.6, std::nullopt},
      {99999, std::nullopt}, {kNaN, std::nullopt}, {-kInf, std::nullopt},
  };
  for (const auto& [value, expected] : rows) EXPECT_EQ(toInt16(value), expected) << value;
}

// Each row is named by the text it must give.
TEST(NumberText, WrittenForms) {
  const auto g = &generalNumberText;
  const auto f = &formatWithPattern;
  const auto one = NumberPattern::OneDecimal, two = NumberPattern::TwoDecimals;
  const auto four = NumberPattern::FourDecimals, noZero = NumberPattern::FourDecimalsNoLeadingZero;
  const double largest = std::numeric_limits<double>::max();
  const std::pair<std::optional<std::string>, std::string> rows[] = {
      {g(152.39999999999998), "152.4"}, {g(0.1 + 0.2), "0.3"}, {g(-0.0), "0"}, {g(1e15), "1E+15"},
      {g(123456789012345), "123456789012345"}, {g(0.00001), "1E-05"}, {g(-2.5e-7), "-2.5E-07"},
      // Fifteen digits round the largest double past it: it reads back as too large.
      {g(-largest), "-1.79769313486232E+308"}, {g(0.705 * kMm), "17.907"},
      {f(2.675, two), "2.68"}, {f(1.005, two), "1.01"}, {f(-0.25, one), "-0.3"},
      {f(9.99, one), "10."}, {f(-0.04, one), "0."}, {f(135, two), "135."}, {f(5e-324, four), "0."},
      {f(1e20, one), "100000000000000000000."},
      {f(123456789012345678.0, two), "123456789012346000."},
      {f(150 / kMm, one), "5.9"}, {f(5.9 * kMm, one), "149.9"}, {f(17.907 / kMm, four), "0.705"},
      {f((1.5 / 1.52) * 0.9375, noZero), ".9252"}, {f(0.99996, noZero), "1."},
      {f(2.5, noZero), "2.5"}, {f(-0.00004, noZero), "."}, {f(-0.5, noZero), "-.5"},
      {roundedNumberText(152.456, two), "152.46"}, {roundedNumberText(6, one), "6"},
      {roundedNumberText(1e20, one), "1E+20"}, {roundedNumberText(0.00004, noZero), "0"}};
  for (const auto& [text, expected] : rows) EXPECT_EQ(text.value_or("<none>"), expected);
  EXPECT_FALSE(readLeadingNumber(*g(largest)).has_value());
}

}  // namespace
}  // namespace korvel
