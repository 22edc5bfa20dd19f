#include "commands/draw_graph.h"

#include "commands/control_numbers.h"
#include "common/failing_step.h"
#include "common/units.h"
#include "geometry/cam_outline.h"

namespace korvel {

namespace {

// The preview cam's frame origin in the box, in inches.
constexpr double kCamLeft = 0.35;
constexpr double kCamTop = 0.5;

}  // namespace

PlotOutcome DrawGraph(const CamJob& job, DesignerState& state, RasterSurface& surface,
                      PrinterSeam& printer) {
  const double focalMm = job.focalMm;
  reloadCorrectionFactors(job, state);

  surface.clear();

  CamOutlineOptions options;
  options.plotScale = 1;
  options.distanceMarkers = job.markers;
  options.caption = false;
  options.setDrawColour = false;
  options.leadIn = LeadInStyle::Unshifted;
  drawCamOutline(surface, focalMm, kCamLeft, kCamTop, state.ExtensionFactor, options);

  if (job.mirror) mirrorSurface(surface);

  // The caption reads normally in either drawing, in the cam's free band,
  // which mirrors with the cam.
  runStep([&] {
    CaptionCentre at = captionCentre(kCamLeft, kCamTop, 1);
    if (job.mirror) at.x = surface.innerWidth() - at.x;
    surface.writeTextCentred(at.x, at.y, camCaption(focalMm).value());
  });
  runStep([&] {
    surface.setTextPosition(0.1f, 0.0f);
    surface.writeText("Korvel Cam Designer");
  });
  runStep([&] {
    surface.setTextPosition(0.1f, 0.15f);
    surface.writeText(std::string("by Orlan - ") + kAuthorWebAddress);
  });

  PlotOutcome outcome;
  outcome.focalMm = focalMm;
  printAndSave(job, state, surface, 1, "KorvelCamDesigner-" + generalNumberText(job.typedFocalLength).value_or("0") + ".bmp",
               printer, outcome);
  state.ExtensionFactor = kExtensionFactorAfterCam;
  return outcome;
}

}  // namespace korvel
