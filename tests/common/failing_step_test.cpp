#include "common/failing_step.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>

namespace korvel {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct StepCase {
  const char* name;
  std::function<std::optional<double>()> step;
  bool sets;
  double expected;  // the target afterwards
};

TEST(RunStep, FailedStepKeepsThePreviousValue) {
  constexpr double kOld = 42;
  const StepCase cases[] = {
      {"good value", [] { return std::optional<double>(1.5); }, true, 1.5},
      {"nothing", [] { return std::optional<double>(); }, false, kOld},
      {"not a number", [] { return std::optional<double>(kNaN); }, false, kOld},
      {"infinite", [] { return std::optional<double>(-kInf); }, false, kOld},
      {"throws", []() -> std::optional<double> { throw std::runtime_error("lens"); }, false, kOld},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.name);
    double target = kOld;
    EXPECT_EQ(runStep(target, c.step), c.sets);
    EXPECT_EQ(target, c.expected);
  }
}

TEST(RunStep, PlainNumberStepsFailOnNonFiniteResults) {
  double target = 7;
  EXPECT_FALSE(runStep(target, [] { return kNaN; }));
  EXPECT_FALSE(runStep(target, [] { return kInf; }));
  EXPECT_EQ(target, 7);
  EXPECT_TRUE(runStep(target, [] { return 0.25; }));
  EXPECT_EQ(target, 0.25);
}

TEST(RunStep, NarrowedValueFailsWhenItDoesNotFit) {
  float target = 3;
  EXPECT_FALSE(runStep(target, [] { return toSingle(1e39); }));
  EXPECT_EQ(target, 3);
  EXPECT_TRUE(runStep(target, [] { return toSingle(2.5); }));
  EXPECT_EQ(target, 2.5f);
}

TEST(RunStep, ActionFailureIsSwallowed) {
  EXPECT_TRUE(runStep([] {}));
  EXPECT_TRUE(runStep([] { return true; }));
  EXPECT_FALSE(runStep([] { return false; }));
  EXPECT_FALSE(runStep([] { throw std::runtime_error("printer gone"); }));
}

struct SingleCase {
  double value;
  std::optional<float> expected;
};

TEST(ToSingle, FailsForValuesAFloatCannotHold) {
  const SingleCase cases[] = {
      {1.5, 1.5f},          {-0.25, -0.25f},      {0, 0.0f},
      {3e38, 3e38f},        {1e39, std::nullopt}, {-1e39, std::nullopt},
      {kInf, std::nullopt}, {-kInf, std::nullopt}, {kNaN, std::nullopt},
  };
  for (const SingleCase& c : cases) {
    SCOPED_TRACE("value " + std::to_string(c.value));
    EXPECT_EQ(toSingle(c.value), c.expected);
  }
}

}  // namespace
}  // namespace korvel
