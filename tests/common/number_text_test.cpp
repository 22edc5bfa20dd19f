#include "common/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace korvel {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMm = 25.4;

std::string shown(const std::optional<std::string>& text) { return text.value_or("<none>"); }

// --- Reading what the user typed ------------------------------------------

struct ReadCase {
  std::string text;
  double expected;
};

void expectReads(const ReadCase& c) {
  SCOPED_TRACE("text \"" + c.text + "\"");
  const std::optional<double> value = readLeadingNumber(c.text);
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(*value, c.expected);
}

TEST(ReadLeadingNumber, PlainNumbers) {
  const ReadCase cases[] = {
      {"150", 150},      {"-3", -3},         {"+7", 7},          {"1.6", 1.6},
      {".5", 0.5},       {"5.", 5},          {"2E3", 2000},      {"2e3", 2000},
      {"1.5e-3", 0.0015}, {"1E+2", 100},     {"0.9375", 0.9375}, {"-.25", -0.25},
      {"007", 7},        {"0e999999", 0},
  };
  for (const ReadCase& c : cases) expectReads(c);
}

TEST(ReadLeadingNumber, BlanksTabsAndLineFeedsAreIgnoredAnywhere) {
  const ReadCase cases[] = {
      {"1 5 0", 150},   {" \t12\n3", 123}, {"  -  4", -4},  {"1 . 5", 1.5},
      {"1 e 2", 100},   {"2E -\t1", 0.2},  {"\n\n42\n", 42}, {" 150 mm", 150},
  };
  for (const ReadCase& c : cases) expectReads(c);
}

TEST(ReadLeadingNumber, StopsWhereTheNumberEnds) {
  const ReadCase cases[] = {
      {"150%75", 150}, {"150mm", 150}, {"1.6in", 1.6}, {"0,95", 0},   {"1e", 1},
      {"1e+", 1},      {"1E-", 1},     {"1.2.3", 1.2}, {"3-4", 3},    {"12\r3", 12},
      {"0x1A", 0},     {"1e5e5", 1e5}, {"5.e2", 500},  {"inf5", 0},   {"1d2", 1},
  };
  for (const ReadCase& c : cases) expectReads(c);
}

TEST(ReadLeadingNumber, TextWithoutLeadingNumberReadsZero) {
  const ReadCase cases[] = {
      {"", 0},   {"abc", 0},  {"-", 0},   {".", 0},    {"+.", 0},    {"-.e5", 0},
      {"e5", 0}, {"inf", 0},  {"nan", 0}, {" ", 0},    {"\r5", 0},   {"--5", 0},
  };
  for (const ReadCase& c : cases) expectReads(c);
}

TEST(ReadLeadingNumber, TooSmallForADoubleReadsZero) {
  const ReadCase cases[] = {
      {"1e-400", 0},
      {"-1e-400", 0},
      {"0.000001e-99999999999999999999", 0},
      {"0." + std::string(400, '0') + "1", 0},
  };
  for (const ReadCase& c : cases) expectReads(c);
}

TEST(ReadLeadingNumber, LongDigitStringsWithinRange) {
  const ReadCase cases[] = {
      {"1" + std::string(299, '0'), 1e299},
      {"0." + std::string(300, '0') + "1", 1e-301},
      {"1." + std::string(400, '0'), 1},
      {"1" + std::string(400, '0') + "e-400", 1},
  };
  for (const ReadCase& c : cases) expectReads(c);
}

TEST(ReadLeadingNumber, TooLargeForADoubleHasNoValue) {
  const std::string cases[] = {
      "1e400", "-1e400", "1E99999999999999999999", "1" + std::string(400, '0'),
      "0.001e312", "2e308",
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE("text \"" + text.substr(0, 40) + "\"");
    EXPECT_FALSE(readLeadingNumber(text).has_value());
  }
}

// --- Whole numbers for the settings -----------------------------------------

struct Int16Case {
  double value;
  std::optional<std::int16_t> expected;
};

TEST(ToInt16, RoundsHalvesToEvenAndRejectsOutOfRange) {
  const Int16Case cases[] = {
      {0, 0},          {2.5, 2},           {3.5, 4},           {-2.5, -2},
      {-3.5, -4},      {0.5, 0},           {1.5, 2},           {2.4999, 2},
      {2.5001, 3},     {-0.4, 0},          {32767, 32767},     {32767.4, 32767},
      {32767.5, std::nullopt},             {-32768, -32768},   {-32768.5, -32768},
      {-32768.6, std::nullopt},            {99999, std::nullopt}, {-99999, std::nullopt},
      {kNaN, std::nullopt},                {kInf, std::nullopt}, {-kInf, std::nullopt},
  };
  for (const Int16Case& c : cases) {
    SCOPED_TRACE("value " + std::to_string(c.value));
    EXPECT_EQ(toInt16(c.value), c.expected);
  }
}

// --- Shortest text of a number ----------------------------------------------

struct GeneralCase {
  double value;
  const char* expected;
};

TEST(GeneralNumberText, WritesShortestFifteenDigitText) {
  const GeneralCase cases[] = {
      {152.39999999999998, "152.4"},
      {0.9375, "0.9375"},
      {1, "1"},
      {150, "150"},
      {127.5, "127.5"},
      {-0.5, "-0.5"},
      {0.1 + 0.2, "0.3"},
      {123456789012345, "123456789012345"},
      {0.0001, "0.0001"},
      {6.5 * kMm, "165.1"},
      {1.5 * kMm, "38.1"},
      {0.705 * kMm, "17.907"},
      {0, "0"},
      {-0.0, "0"},
      {-32768, "-32768"},
  };
  for (const GeneralCase& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(shown(generalNumberText(c.value)), c.expected);
  }
}

TEST(GeneralNumberText, VeryLargeOrSmallUseUpperCaseExponent) {
  const GeneralCase cases[] = {
      {1e20, "1E+20"},   {1e15, "1E+15"},       {0.00001, "1E-05"},  {1.5e300, "1.5E+300"},
      {-2.5e-7, "-2.5E-07"}, {1e-300, "1E-300"}, {1e100, "1E+100"},
  };
  for (const GeneralCase& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(shown(generalNumberText(c.value)), c.expected);
  }
}

// Fifteen digits round the largest doubles up past the largest double, so
// their text reads back as too large: a stored value of that size fails to
// load and the key keeps its default, instead of loading as infinity.
TEST(GeneralNumberText, LargestDoublesReadBackAsTooLarge) {
  const double largest = std::numeric_limits<double>::max();
  EXPECT_EQ(shown(generalNumberText(largest)), "1.79769313486232E+308");
  EXPECT_EQ(shown(generalNumberText(-largest)), "-1.79769313486232E+308");
  EXPECT_FALSE(readLeadingNumber(*generalNumberText(largest)).has_value());
  EXPECT_FALSE(readLeadingNumber(*generalNumberText(-largest)).has_value());
  EXPECT_EQ(readLeadingNumber(*generalNumberText(1.79769313486231e308)), 1.79769313486231e308);
}

// --- Pattern texts in the boxes and captions --------------------------------

struct PatternCase {
  double value;
  NumberPattern pattern;
  const char* expected;
};

void expectPatterns(const PatternCase* begin, const PatternCase* end) {
  for (const PatternCase* c = begin; c != end; ++c) {
    SCOPED_TRACE("expected " + std::string(c->expected) + " at index " +
                 std::to_string(c - begin));
    EXPECT_EQ(shown(formatWithPattern(c->value, c->pattern)), c->expected);
  }
}

constexpr auto kOne = NumberPattern::OneDecimal;
constexpr auto kTwo = NumberPattern::TwoDecimals;
constexpr auto kFour = NumberPattern::FourDecimals;
constexpr auto kNoZero = NumberPattern::FourDecimalsNoLeadingZero;

TEST(FormatWithPattern, RoundsOnTheFifteenDigitDecimalForm) {
  const PatternCase cases[] = {
      {2.675, kTwo, "2.68"},     {152.456, kTwo, "152.46"}, {1.005, kTwo, "1.01"},
      {0.25, kOne, "0.3"},       {-0.25, kOne, "-0.3"},     {0.35, kOne, "0.4"},
      {0.70549, kNoZero, ".7055"}, {0.99996, kNoZero, "1."}, {9.99, kOne, "10."},
      {0.05, kOne, "0.1"},       {0.04, kOne, "0."},        {-0.04, kOne, "0."},
  };
  expectPatterns(std::begin(cases), std::end(cases));
}

TEST(FormatWithPattern, KeepsThePointAndDropsTrailingZeros) {
  const PatternCase cases[] = {
      {135, kTwo, "135."},  {6, kOne, "6."},      {0, kOne, "0."},    {0, kFour, "0."},
      {-0.0, kTwo, "0."},   {1.5, kFour, "1.5"},  {-7, kTwo, "-7."},  {0.1, kTwo, "0.1"},
      {1e20, kOne, "100000000000000000000."},
      {123456789012345678.0, kTwo, "123456789012346000."},
  };
  expectPatterns(std::begin(cases), std::end(cases));
}

TEST(FormatWithPattern, ConvertsBetweenInchesAndMillimetres) {
  const PatternCase cases[] = {
      {150 / kMm, kOne, "5.9"},      {65 / kMm, kOne, "2.6"},        {380 / kMm, kOne, "15."},
      {5.9 * kMm, kOne, "149.9"},    {2.6 * kMm, kOne, "66."},       {15 * kMm, kOne, "381."},
      {152.4 / kMm, kOne, "6."},     {6 * kMm, kOne, "152.4"},       {1.5 * kMm, kFour, "38.1"},
      {0.705 * kMm, kFour, "17.907"}, {38.1 / kMm, kFour, "1.5"},    {17.907 / kMm, kFour, "0.705"},
  };
  expectPatterns(std::begin(cases), std::end(cases));
}

TEST(FormatWithPattern, LensFactorsWriteNoLeadingZero) {
  const PatternCase cases[] = {
      {0.9375, kNoZero, ".9375"},
      {0.94, kNoZero, ".94"},
      {(1.5 / 1.52) * 0.9375, kNoZero, ".9252"},
      {(0.705 / 0.71) * 0.94, kNoZero, ".9334"},
      {1, kNoZero, "1."},
      {2.5, kNoZero, "2.5"},
      {0.705, kNoZero, ".705"},
      {2, kNoZero, "2."},
      {0, kNoZero, "."},
      {0.00004, kNoZero, "."},
      {-0.00004, kNoZero, "."},
      {-0.5, kNoZero, "-.5"},
      {0.00005, kNoZero, ".0001"},
  };
  expectPatterns(std::begin(cases), std::end(cases));
}

TEST(FormatWithPattern, TinyValuesRoundToZero) {
  const PatternCase cases[] = {
      {5e-324, kFour, "0."},
      {-1e-300, kOne, "0."},
      {4.9e-5, kFour, "0."},
  };
  expectPatterns(std::begin(cases), std::end(cases));
}

// --- Round trip used by captions and unit conversions ------------------------

TEST(RoundedNumberText, ReadsThePatternTextBackInShortestForm) {
  const PatternCase cases[] = {
      {152.456, kTwo, "152.46"}, {6.5 * kMm, kOne, "165.1"}, {135, kTwo, "135"},
      {6, kOne, "6"},            {0.705, kFour, "0.705"},    {0.9375, kNoZero, "0.9375"},
      {-0.5, kNoZero, "-0.5"},   {0.00004, kNoZero, "0"},    {150 / kMm, kOne, "5.9"},
      {1e20, kOne, "1E+20"},
  };
  for (const PatternCase& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(shown(roundedNumberText(c.value, c.pattern)), c.expected);
  }
}

// --- Values that cannot be written ------------------------------------------

TEST(NumberText, NonFiniteValuesHaveNoText) {
  const NumberPattern patterns[] = {kOne, kTwo, kFour, kNoZero};
  for (const double value : {kNaN, kInf, -kInf}) {
    SCOPED_TRACE("value " + std::to_string(value));
    EXPECT_FALSE(generalNumberText(value).has_value());
    for (const NumberPattern pattern : patterns) {
      EXPECT_FALSE(formatWithPattern(value, pattern).has_value());
      EXPECT_FALSE(roundedNumberText(value, pattern).has_value());
    }
  }
}

// --- The user's locale does not matter --------------------------------------

class CommaLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = std::setlocale(LC_ALL, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
      if (std::setlocale(LC_ALL, name) != nullptr) return;
    }
    GTEST_SKIP() << "no locale with a decimal comma is installed";
  }
  void TearDown() override { std::setlocale(LC_ALL, saved.c_str()); }

  std::string saved;
};

TEST_F(CommaLocale, PointStaysTheDecimalSeparator) {
  EXPECT_EQ(readLeadingNumber("1.5"), 1.5);
  EXPECT_EQ(readLeadingNumber("0,95"), 0.0);
  EXPECT_EQ(shown(generalNumberText(152.4)), "152.4");
  EXPECT_EQ(shown(formatWithPattern(2.675, kTwo)), "2.68");
}

}  // namespace
}  // namespace korvel
