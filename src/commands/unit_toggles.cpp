#include "commands/unit_toggles.h"

#include "commands/control_numbers.h"
#include "common/failing_step.h"
#include "common/units.h"

namespace korvel {

namespace {

enum class Toward { Inches, Millimetres };

// Whether a click changed the unit in force. That unit is the one of the
// "ruling" box when that box holds 1, and the other unit otherwise (a pair
// with both boxes clear or dimmed reads as the other unit too). The click has
// already changed the clicked box: it is checked now when it was not before,
// and clear when it was. Afterwards the clicked box is the checked one.
bool unitChanged(bool rulingClicked, int clickedValue, int partnerValue) {
  const bool rulingBefore = rulingClicked ? !isChecked(clickedValue) : isChecked(partnerValue);
  return rulingBefore != rulingClicked;
}

std::optional<QString> converted(double value, Toward toward, NumberPattern pattern) {
  std::optional<QString> text;
  runStep([&] {
    const double result = toward == Toward::Inches ? value / kMmPerInch : value * kMmPerInch;
    text = qText(roundedNumberText(result, pattern).value());
  });
  return text;
}

}  // namespace

FocalLengthUnitSwitch toggleFocalLengthUnit(const DesignerInputs& in, bool inchClicked) {
  FocalLengthUnitSwitch result;
  result.ChkInch = inchClicked ? 1 : 0;
  result.ChkMM = inchClicked ? 0 : 1;
  // Draw Graph and the sheet read inches only when "Inch" holds 1.
  if (!unitChanged(inchClicked, inchClicked ? in.ChkInch : in.ChkMM, inchClicked ? in.ChkMM : in.ChkInch))
    return result;
  const Toward toward = inchClicked ? Toward::Inches : Toward::Millimetres;

  double focal = 0;
  runStep(focal, [&] { return numberIn(in.FocalLength); });
  // One test on the single focal length guards all ten boxes.
  if (!(focal > 0)) return result;
  result.texts[0] = converted(focal, toward, NumberPattern::OneDecimal);
  for (int i = 1; i <= 9; ++i) {
    // Empty or non-numeric text converts as 0; a number beyond any range is
    // left as typed.
    const auto value = numberIn(in.FocalLen1[i]);
    if (value) result.texts[i] = converted(*value, toward, NumberPattern::OneDecimal);
  }
  return result;
}

MeasurementUnitSwitch toggleMeasurementUnit(const DesignerInputs& in, bool inchClicked) {
  MeasurementUnitSwitch result;
  result.ChkCorInch = inchClicked ? 1 : 0;
  result.ChkCormm = inchClicked ? 0 : 1;
  // The calibration measures in millimetres only when "mm" holds 1.
  const bool mmClicked = !inchClicked;
  if (!unitChanged(mmClicked, mmClicked ? in.ChkCormm : in.ChkCorInch, mmClicked ? in.ChkCorInch : in.ChkCormm))
    return result;
  const Toward toward = inchClicked ? Toward::Inches : Toward::Millimetres;

  const auto convertBox = [&](const QString& text, std::optional<QString>& into) {
    const auto value = numberIn(text);
    if (value && *value > 0) into = converted(*value, toward, NumberPattern::FourDecimals);
  };
  convertBox(in.XCorUser, result.XCorUser);
  convertBox(in.YCorUser, result.YCorUser);
  return result;
}

}  // namespace korvel
