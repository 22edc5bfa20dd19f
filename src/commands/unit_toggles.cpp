#include "commands/unit_toggles.h"

#include "commands/control_numbers.h"
#include "common/failing_step.h"
#include "geometry/distance_marker_table.h"
#include "ui/cam_designer.h"
#include "ui/check_value.h"

namespace korvel {

namespace {

enum class Toward { Inches, Millimetres };

// Settles the pair after a click on one of its boxes, leaving the clicked box
// checked and its partner clear, and tells whether the unit in force changed.
// The unit in force is the one of the "ruling" box when that box holds 1, and
// the other unit otherwise (a pair with both boxes clear or dimmed reads as the
// other unit too). The click has already changed the clicked box: it is
// checked now when it was not before, and clear when it was.
bool settlePair(QCheckBox* clicked, QCheckBox* partner, QCheckBox* ruling) {
  const bool rulingBefore = clicked == ruling ? !isChecked(clicked) : isChecked(partner);
  setCheckValue(clicked, 1);
  setCheckValue(partner, 0);
  return rulingBefore != (clicked == ruling);
}

void convertBox(QLineEdit* box, double value, Toward toward, NumberPattern pattern) {
  runStep([&] {
    const double converted = toward == Toward::Inches ? value / kMmPerInch : value * kMmPerInch;
    box->setText(qText(roundedNumberText(converted, pattern).value()));
  });
}

}  // namespace

void toggleFocalLengthUnit(CamDesigner& d, QCheckBox* clicked) {
  QCheckBox* partner = clicked == d.ChkInch ? d.ChkMM : d.ChkInch;
  // Draw Graph and the sheet read inches only when "Inch" holds 1.
  if (!settlePair(clicked, partner, d.ChkInch)) return;
  const Toward toward = clicked == d.ChkInch ? Toward::Inches : Toward::Millimetres;

  double focal = 0;
  runStep(focal, [&] { return numberIn(d.FocalLength); });
  // One test on the single focal length guards all ten boxes.
  if (!(focal > 0)) return;
  convertBox(d.FocalLength, focal, toward, NumberPattern::OneDecimal);
  for (int i = 1; i <= 9; ++i) {
    // Empty or non-numeric text converts as 0; a number beyond any range is
    // left as typed.
    const auto value = numberIn(d.FocalLen1[i]);
    if (value) convertBox(d.FocalLen1[i], *value, toward, NumberPattern::OneDecimal);
  }
}

void toggleMeasurementUnit(CamDesigner& d, QCheckBox* clicked) {
  QCheckBox* partner = clicked == d.ChkCorInch ? d.ChkCormm : d.ChkCorInch;
  // The calibration measures in millimetres only when "mm" holds 1.
  if (!settlePair(clicked, partner, d.ChkCormm)) return;
  const Toward toward = clicked == d.ChkCorInch ? Toward::Inches : Toward::Millimetres;

  for (QLineEdit* box : {static_cast<QLineEdit*>(d.XCorUser), static_cast<QLineEdit*>(d.YCorUser)}) {
    const auto value = numberIn(box);
    if (value && *value > 0) convertBox(box, *value, toward, NumberPattern::FourDecimals);
  }
}

}  // namespace korvel
