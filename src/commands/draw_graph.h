#pragma once

#include "commands/cam_job.h"
#include "commands/designer_state.h"
#include "commands/plot_steps.h"
#include "common/units.h"
#include "render/raster_surface.h"
#include "render/printer_seam.h"

namespace korvel {

// The preview box of the designer window, in inches: 3015 by 2055 twips.
inline constexpr float kPreviewWidthInches = 3015.0f / kTwipsPerInch;
inline constexpr float kPreviewHeightInches = 2055.0f / kTwipsPerInch;

// Draws the cam of the job's focal length onto the preview
// surface at true size, captioned and titled, mirrored on request, then prints
// and saves it as the output options say; returns the lens drawn and what
// printing and saving could not do.
PlotOutcome DrawGraph(const CamJob& job, DesignerState& state, RasterSurface& preview,
                      PrinterSeam& printer);

}  // namespace korvel
