#include "commands/plot_steps.h"

#include "commands/control_numbers.h"
#include "common/failing_step.h"
#include "export/bitmap_file.h"
#include "render/plot_output.h"

namespace korvel {

namespace {

// Factors beyond these are typing slips, not a printer's error.
constexpr double kLowestCorrection = 0.5;
constexpr double kHighestCorrection = 2.0;

bool usableCorrection(double factor) { return factor >= kLowestCorrection && factor <= kHighestCorrection; }

QString refusedCorrection(const char* axis, double factor) {
  return QString("Not printed: the printer correction factor %1 = %2 lies outside 0.5 to 2.")
      .arg(axis, qText(generalNumberText(factor).value_or("?")));
}

}  // namespace

void reloadCorrectionFactors(const CamJob& job, DesignerState& state) {
  if (job.correctionX) state.XCor = *job.correctionX;
  if (job.correctionY) state.YCor = *job.correctionY;
}

void mirrorSurface(RasterSurface& surface) {
  runStep([&] { surface.mirrorLeftToRight(); });
}

void printAndSave(const CamJob& job, const DesignerState& state, RasterSurface& surface, int scale,
                  const std::string& fileName, PrinterSeam& printer, PlotOutcome& outcome) {
  if (job.print) {
    const PrinterCorrection correction{state.XCor, state.YCor, job.useCorrection};
    if (correction.enabled && !usableCorrection(correction.x))
      outcome.printRefused = refusedCorrection("X", correction.x);
    else if (correction.enabled && !usableCorrection(correction.y))
      outcome.printRefused = refusedCorrection("Y", correction.y);
    else
      runStep([&] { PrintPlot(surface.drawing(), scale, correction, printer); });
  }
  if (job.save) {
    outcome.savedPath = state.AppFolder + qText(fileName);
    runStep([&] { outcome.saved = SavePlot(surface.drawing(), state.AppFolder, qText(fileName)); });
  }
}

}  // namespace korvel
