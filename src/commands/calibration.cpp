#include "commands/calibration.h"

#include "commands/control_numbers.h"
#include "common/failing_step.h"
#include "ui/cam_designer.h"
#include "ui/check_value.h"

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

void writeMeasurement(DesignerTextBox* box, double value) {
  runStep([&] { box->setText(qText(generalNumberText(value).value())); });
}

void runPass(CamDesigner& d, Calibration& c, ReferenceSize ref) {
  // 0 or 1 stands for "reset": the reference size itself.
  if (c.measuredX == 0 || c.measuredX == 1) c.measuredX = ref.width;
  if (c.measuredY == 0 || c.measuredY == 1) c.measuredY = ref.height;
  writeMeasurement(d.XCorUser, c.measuredX);
  writeMeasurement(d.YCorUser, c.measuredY);

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

void showRatio(QLabel* label, const std::optional<double>& ratio) {
  const double shown = (!ratio || *ratio == 0) ? 1.0 : *ratio;
  runStep([&] { label->setText(qText(formatWithPattern(shown, NumberPattern::FourDecimalsNoLeadingZero).value())); });
}

}  // namespace

void CalculateCorrection(CamDesigner& d) {
  Calibration c;
  runStep(c.shownX, [&] { return numberIn(d.LBLXCor); });
  runStep(c.shownY, [&] { return numberIn(d.LBLYCor); });
  runStep(c.measuredX, [&] { return numberIn(d.XCorUser); });
  runStep(c.measuredY, [&] { return numberIn(d.YCorUser); });

  if (isChecked(d.ChkCorInch)) runPass(d, c, kInchReference);
  if (isChecked(d.ChkCormm)) runPass(d, c, kMillimetreReference);

  showRatio(d.LBLXCor, c.ratioX);
  showRatio(d.LBLYCor, c.ratioY);
}

}  // namespace korvel
