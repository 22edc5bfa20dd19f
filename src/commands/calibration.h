#pragma once

#include <QString>
#include <optional>

#include "commands/designer_inputs.h"

namespace korvel {

// The texts the calibration gives the panel; empty where a control keeps its own.
struct CalibrationResult {
  std::optional<QString> XCorUser;
  std::optional<QString> YCorUser;
  std::optional<QString> LBLXCor;
  std::optional<QString> LBLYCor;
};

// Turns the measured width and height of a printed test cam into printer
// correction ratios, multiplied into the ratios shown last time.
CalibrationResult CalculateCorrection(const DesignerInputs& in);

}  // namespace korvel
