#include "commands/unit_toggles.h"

#include "commands/control_numbers.h"
#include "common/failing_step.h"
#include "geometry/distance_marker_table.h"
#include "ui/cam_designer.h"
#include "ui/check_value.h"

namespace korvel {

namespace {

enum class Toward { Inches, Millimetres };

// Settles the pair after a click on one of its boxes and tells whether the
// unit changed: only when the box went from clear to checked while its
// partner held the unit. A click on the box already checked leaves it checked.
bool settlePair(QCheckBox* clicked, QCheckBox* partner) {
  const bool unitChanged = isChecked(clicked) && isChecked(partner);
  setCheckValue(clicked, 1);
  setCheckValue(partner, 0);
  return unitChanged;
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
  if (!settlePair(clicked, partner)) return;
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
  if (!settlePair(clicked, partner)) return;
  const Toward toward = clicked == d.ChkCorInch ? Toward::Inches : Toward::Millimetres;

  for (QLineEdit* box : {static_cast<QLineEdit*>(d.XCorUser), static_cast<QLineEdit*>(d.YCorUser)}) {
    const auto value = numberIn(box);
    if (value && *value > 0) convertBox(box, *value, toward, NumberPattern::FourDecimals);
  }
}

}  // namespace korvel
