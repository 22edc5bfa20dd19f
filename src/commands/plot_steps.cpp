#include "commands/plot_steps.h"

#include "commands/control_numbers.h"
#include "common/failing_step.h"
#include "render/plot_output.h"

namespace korvel {

void reloadCorrectionFactors(const DesignerInputs& in, DesignerState& state) {
  runStep(state.XCor, [&] { return numberIn(in.PrinterXCor); });
  runStep(state.YCor, [&] { return numberIn(in.PrinterYCor); });
}

void mirrorSurface(DrawingSurface& surface) {
  runStep([&] { surface.mirrorLeftToRight(); });
}

std::optional<std::string> focalLengthLabel(double focalMm) {
  const auto number = roundedNumberText(focalMm, NumberPattern::TwoDecimals);
  if (!number) return std::nullopt;
  return *number + " mm";
}

void printAndSave(const DesignerInputs& in, const DesignerState& state, DrawingSurface& surface, int scale,
                  const std::string& fileName, PrinterSeam& printer) {
  if (isChecked(in.printerout)) {
    const PrinterCorrection correction{state.XCor, state.YCor, isChecked(in.ChkUsePrintCor)};
    runStep([&] { PrintPlot(surface, scale, correction, printer); });
  }
  if (isChecked(in.SaveToDisk)) runStep([&] { SavePlot(surface, state.AppFolder, qText(fileName)); });
}

}  // namespace korvel
