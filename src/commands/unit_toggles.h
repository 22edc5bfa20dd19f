#pragma once

#include <QString>
#include <array>
#include <optional>

#include "commands/designer_inputs.h"

namespace korvel {

// The values a unit pair's boxes take after a click, and the texts of the
// boxes it converted (empty where a box keeps its own).
struct FocalLengthUnitSwitch {
  int ChkMM = 0;
  int ChkInch = 0;
  std::array<std::optional<QString>, 10> texts;  // 0 is FocalLength, 1 to 9 FocalLen1
};
struct MeasurementUnitSwitch {
  int ChkCormm = 0;
  int ChkCorInch = 0;
  std::optional<QString> XCorUser;
  std::optional<QString> YCorUser;
};

// Reacts to the user's click on a unit box of the focal lengths (ChkMM,
// ChkInch) or of the measurements (ChkCormm, ChkCorInch); the inputs hold the
// boxes as the click left them. Afterwards exactly one box of the pair is
// checked; the numbers are converted once, and only when the unit really
// changed.
FocalLengthUnitSwitch toggleFocalLengthUnit(const DesignerInputs& in, bool inchClicked);
MeasurementUnitSwitch toggleMeasurementUnit(const DesignerInputs& in, bool inchClicked);

}  // namespace korvel
