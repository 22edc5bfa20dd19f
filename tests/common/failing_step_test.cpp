#include "common/failing_step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace korvel {
namespace {

TEST(FailingStep, AStepThatFailsKeepsThePreviousValue) {
  float target = 42;
  EXPECT_FALSE(runStep(target, [] { return std::optional<double>(); }));
  EXPECT_FALSE(runStep(target, [] { return -HUGE_VAL; }));
  EXPECT_FALSE(runStep(target, []() -> double { throw std::runtime_error("lens"); }));
  EXPECT_FALSE(runStep(target, [] { return toSingle(1e39); }));  // too large for a float
  EXPECT_EQ(target, 42);
  EXPECT_TRUE(runStep(target, [] { return toSingle(2.5); }));
  EXPECT_EQ(target, 2.5f);
  EXPECT_FALSE(runStep([] { throw std::runtime_error("printer gone"); }));
}

}  // namespace
}  // namespace korvel
