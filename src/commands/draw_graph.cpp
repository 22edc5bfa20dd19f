#include "commands/draw_graph.h"

#include "commands/control_numbers.h"
#include "commands/plot_steps.h"
#include "common/failing_step.h"
#include "geometry/cam_outline.h"
#include "geometry/distance_marker_table.h"
#include "ui/cam_designer.h"
#include "ui/check_value.h"

namespace korvel {

namespace {

// The preview cam's frame origin in the box, in inches.
constexpr double kCamLeft = 0.35;
constexpr double kCamTop = 0.5;

}  // namespace

void DrawGraph(CamDesigner& d) {
  double typed = 0;  // names the bitmap, as typed
  double focalMm = 0;
  runStep(typed, [&] { return numberIn(d.FocalLength); });
  runStep(focalMm, [&] { return numberIn(d.FocalLength); });
  if (isChecked(d.ChkInch)) runStep(focalMm, [&] { return focalMm * kMmPerInch; });
  reloadCorrectionFactors(d);

  RasterSurface& surface = d.previewSurface();
  surface.removeBackgroundPicture();  // first, so clearing need not copy a picture it shares
  surface.clear();

  CamOutlineOptions options;
  options.plotScale = 1;
  options.distanceMarkers = isChecked(d.ChkDistMarkers);
  options.caption = false;
  options.setDrawColour = false;
  options.leadIn = LeadInStyle::Unshifted;
  drawCamOutline(surface, focalMm, kCamLeft, kCamTop, d.state.ExtensionFactor, options);

  if (isChecked(d.ChkFlipImage)) mirrorSurface(surface);

  runStep([&] {
    surface.setTextPosition(static_cast<float>(0.6 + kCamLeft), static_cast<float>(0.4 + kCamTop));
    surface.writeText(focalLengthLabel(focalMm).value());
  });
  runStep([&] {
    surface.setTextPosition(0.1f, 0.0f);
    surface.writeText("Korvel Cam Designer");
  });
  runStep([&] {
    surface.setTextPosition(0.1f, 0.15f);
    surface.writeText(std::string("by Orlan - ") + kAuthorWebAddress);
  });

  printAndSave(d, surface, 1, "KorvelCamDesigner-" + generalNumberText(typed).value_or("0") + ".bmp");
  d.state.ExtensionFactor = kExtensionFactorAfterCam;
}

}  // namespace korvel
