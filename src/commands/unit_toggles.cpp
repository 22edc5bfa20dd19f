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

  // Each box on its own: a lens above 0 converts, anything else stays as
  // typed, so a sheet cell is never reinterpreted in the other unit. Four
  // decimals of an inch and two of a millimetre bring every lens typed to
  // 0.01 mm back unchanged.
  const NumberPattern pattern = inchClicked ? NumberPattern::FourDecimals : NumberPattern::TwoDecimals;
  for (int i = 0; i <= 9; ++i) {
    const auto value = numberIn(i == 0 ? in.FocalLength : in.FocalLen1[i]);
    if (value && *value > 0) result.texts[i] = converted(*value, toward, pattern);
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
