#include "commands/cam_job.h"

#include "commands/control_numbers.h"
#include "commands/sheet_field_number.h"
#include "common/failing_step.h"
#include "common/units.h"

namespace korvel {

CamJob readCamJob(const DesignerInputs& in) {
  CamJob job;
  const bool inch = isChecked(in.ChkInch);
  const double unit = inch ? kMmPerInch : 1.0;
  runStep(job.typedFocalLength, [&] { return numberIn(in.FocalLength); });
  runStep(job.focalMm, [&] { return numberIn(in.FocalLength); });
  if (inch) runStep(job.focalMm, [&] { return job.focalMm * unit; });
  for (std::size_t i = 0; i < job.sheetMm.size(); ++i) {
    runStep(job.sheetMm[i], [&]() -> std::optional<double> {
      const auto field = wholeTextNumber(in.FocalLen1[i + 1]);
      if (!field) return std::nullopt;
      return *field * unit;
    });
  }
  runStep(job.correctionX, [&] { return correctionFactorIn(in.PrinterXCor); });
  runStep(job.correctionY, [&] { return correctionFactorIn(in.PrinterYCor); });
  job.useCorrection = isChecked(in.ChkUsePrintCor);
  job.mirror = isChecked(in.ChkFlipImage);
  job.markers = isChecked(in.ChkDistMarkers);
  job.highResolution = isChecked(in.ChkHiRes);
  job.print = isChecked(in.printerout);
  job.save = isChecked(in.SaveToDisk);
  return job;
}

}  // namespace korvel
