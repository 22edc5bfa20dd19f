#include "commands/calibration.h"

#include "commands/control_numbers.h"
#include "common/failing_step.h"

namespace korvel {

namespace {

// True size of a printed cam as the user measures it: foot to foot across the
// base (x = -0.114 to 1.428) and from the base line to the highest point, on
// the centres of the lines. The millimetre sizes are written out rather than
// computed, so the exact comparisons with the shown ratios hold.
struct ReferenceSize {
  double width;
  double height;
};
constexpr ReferenceSize kInchReference{1.542, 0.7};
constexpr ReferenceSize kMillimetreReference{39.1668, 17.78};

struct Calibration {
  double shownX = 0, shownY = 0;        // ratios shown now
  double measuredX = 0, measuredY = 0;  // measurements typed in
  std::optional<double> ratioX, ratioY;
};

void writeMeasurement(std::optional<QString>& box, double value) {
  runStep([&] { box = qText(generalNumberText(value).value()); });
}

void runPass(CalibrationResult& result, Calibration& c, ReferenceSize ref) {
  // 0 or 1 stands for "reset": the reference size itself.
  if (c.measuredX == 0 || c.measuredX == 1) c.measuredX = ref.width;
  if (c.measuredY == 0 || c.measuredY == 1) c.measuredY = ref.height;
  writeMeasurement(result.XCorUser, c.measuredX);
  writeMeasurement(result.YCorUser, c.measuredY);

  const bool cumulative =
      c.shownX != 1 && c.shownY != 1 && c.shownX != ref.width && c.shownY != ref.height;
  runStep(c.ratioX, [&] {
    const double fresh = ref.width / c.measuredX;
    return cumulative ? fresh * c.shownX : fresh;
  });
  runStep(c.ratioY, [&] {
    const double fresh = ref.height / c.measuredY;
    return cumulative ? fresh * c.shownY : fresh;
  });
}

void showRatio(std::optional<QString>& label, const std::optional<double>& ratio) {
  const double shown = (!ratio || *ratio == 0) ? 1.0 : *ratio;
  runStep([&] { label = qText(formatWithPattern(shown, NumberPattern::FourDecimalsNoLeadingZero).value()); });
}

}  // namespace

CalibrationResult CalculateCorrection(const DesignerInputs& in) {
  Calibration c;
  runStep(c.shownX, [&] { return numberIn(in.LBLXCor); });
  runStep(c.shownY, [&] { return numberIn(in.LBLYCor); });
  runStep(c.measuredX, [&] { return numberIn(in.XCorUser); });
  runStep(c.measuredY, [&] { return numberIn(in.YCorUser); });

  CalibrationResult result;
  if (isChecked(in.ChkCorInch)) runPass(result, c, kInchReference);
  if (isChecked(in.ChkCormm)) runPass(result, c, kMillimetreReference);

  showRatio(result.LBLXCor, c.ratioX);
  showRatio(result.LBLYCor, c.ratioY);
  return result;
}

}  // namespace korvel
