#pragma once

#include <tuple>

#include "commands/designer_inputs.h"
#include "settings/setting_keys.h"
#include "settings/setting_reader.h"

// The designer's inputs after a start without a settings file: every key at
// its default, shown as the window shows it.
namespace korvel::testing {

inline DesignerInputs inputsAtStart() {
  const auto text = [](std::size_t k) {
    return QString::fromStdString(shownSettingText(kDesignerKeys[k], kDesignerKeys[k].fallback).value());
  };
  const auto check = [](std::size_t k) { return static_cast<int>(kDesignerKeys[k].fallback); };
  DesignerInputs in;
  in.FocalLength = text(key::FL0);
  for (std::size_t i = 1; i <= 9; ++i) in.FocalLen1[i] = text(key::FL0 + i);
  in.PrinterXCor = text(key::XCor);
  in.PrinterYCor = text(key::YCor);
  in.XCorUser = text(key::XUserMeasure);
  in.YCorUser = text(key::YUserMeasure);
  std::tie(in.ChkMM, in.ChkInch, in.ChkFlipImage, in.ChkDistMarkers, in.ChkHiRes) =
      std::tuple(check(key::Checkmm), check(key::Checkinch), check(key::CheckFlipImage),
                 check(key::CheckDistMarkers), check(key::CheckHiRes));
  std::tie(in.ChkUsePrintCor, in.ChkCormm, in.ChkCorInch) =
      std::tuple(check(key::UseCor), check(key::CheckCormm), check(key::CheckCorInch));
  return in;
}

}  // namespace korvel::testing
