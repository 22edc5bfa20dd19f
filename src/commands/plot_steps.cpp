#include "commands/plot_steps.h"

#include "commands/control_numbers.h"
#include "common/failing_step.h"
#include "render/plot_output.h"
#include "ui/cam_designer.h"
#include "ui/check_value.h"

namespace korvel {

void reloadCorrectionFactors(CamDesigner& d) {
  runStep(d.state.XCor, [&] { return numberIn(d.PrinterXCor); });
  runStep(d.state.YCor, [&] { return numberIn(d.PrinterYCor); });
}

void mirrorSurface(DrawingSurface& surface) {
  runStep([&] { surface.mirrorLeftToRight(); });
}

std::optional<std::string> focalLengthLabel(double focalMm) {
  const auto number = roundedNumberText(focalMm, NumberPattern::TwoDecimals);
  if (!number) return std::nullopt;
  return *number + " mm";
}

void printAndSave(CamDesigner& d, DrawingSurface& surface, int scale, const std::string& fileName) {
  if (isChecked(d.printerout)) {
    const PrinterCorrection correction{d.state.XCor, d.state.YCor, isChecked(d.ChkUsePrintCor)};
    runStep([&] { PrintPlot(surface, scale, correction, d.printer()); });
  }
  if (isChecked(d.SaveToDisk)) runStep([&] { SavePlot(surface, d.state.AppFolder, qText(fileName)); });
}

}  // namespace korvel
