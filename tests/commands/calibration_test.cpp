#include "commands/calibration.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

// One press of "Calculate Correction Factors" after another, each with the
// ratios the one before showed, and the measurement boxes afterwards where
// they are checked.
struct Press { const char *measuredX, *measuredY, *ratioX, *ratioY, *xAfter = nullptr, *yAfter = nullptr; };

TEST(Calibration, PassesStartAfreshThenMultiplyIntoTheShownRatios) {
  const struct { const char* name; int inch, mm; std::vector<Press> presses; } sequences[] = {
      {"worked example, inch pass", 1, 0,
       {{"1.6", "0.75", ".9638", ".9333"}, {"1.52", "0.71", ".9777", ".9202"},
        {"1.542", "0.7", ".9777", ".9202"}}},  // the drawn size multiplies by 1
      {"a ratio of exactly 1 starts afresh", 1, 0,
       {{"1.542", "0.7", "1.", "1."}, {"1.542", "0.75", "1.", ".9333"}, {"1.6", "0.75", ".9638", ".9333"}}},
      {"0 or 1 stands for the reference size", 1, 0,
       {{"1.6", "0.75", ".9638", ".9333"}, {"0", "1", ".9638", ".9333", "1.542", "0.7"},
        {"1", "0", ".9638", ".9333", "1.542", "0.7"}}},
      {"text around the number, negative and unreadable measurements", 1, 0,
       {{"1.6in", "0.75 inch", ".9638", ".9333", "1.6", "0.75"},
        {"-1.5", "abc", "-.9908", ".9333", "-1.5", "0.7"},
        // A ratio too large to hold shows 1; a measurement too large to read
        // counts as 0, the reference size.
        {"1e-320", "1e400", "1.", ".9333", nullptr, "0.7"}}},
      {"millimetre pass", 0, 1, {{"40", "17.78", ".9792", "1."}}},
      {"no unit: no pass at all, the boxes untouched", 0, 0, {{"1.6", "0", "1.", "1."}}},
      // Only a settings file can check both: the inch pass, then the
      // millimetre pass on what the inch pass left.
      {"both units", 1, 1, {{"40", "0", ".9792", "25.4", "40", "0.7"}}},
  };
  for (const auto& sequence : sequences) {
    SCOPED_TRACE(sequence.name);
    DesignerInputs in;
    in.ChkCorInch = sequence.inch;
    in.ChkCormm = sequence.mm;
    for (const Press& press : sequence.presses) {
      SCOPED_TRACE(press.measuredX);
      in.XCorUser = press.measuredX;
      in.YCorUser = press.measuredY;
      const CalibrationResult result = CalculateCorrection(in);
      EXPECT_EQ(result.LBLXCor, press.ratioX);
      EXPECT_EQ(result.LBLYCor, press.ratioY);
      if (press.xAfter) { EXPECT_EQ(result.XCorUser, press.xAfter); }
      if (press.yAfter) { EXPECT_EQ(result.YCorUser, press.yAfter); }
      if (!sequence.inch && !sequence.mm) { EXPECT_FALSE(result.XCorUser || result.YCorUser); }
      in.LBLXCor = *result.LBLXCor;
      in.LBLYCor = *result.LBLYCor;
    }
  }
}

}  // namespace
}  // namespace korvel
