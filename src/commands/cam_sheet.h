#pragma once

#include <array>

#include "commands/cam_job.h"
#include "commands/designer_state.h"
#include "commands/plot_steps.h"
#include "commands/plot_window_view.h"
#include "render/raster_surface.h"
#include "render/printer_seam.h"

namespace korvel {

// Where each of the nine cams of a sheet stands, in sheet inches. The label
// of a mirrored sheet stands where the mirrored caption would.
struct SheetCell {
  double xoffset;
  double yoffset;
};

inline constexpr std::array<SheetCell, 9> kSheetCells{{
    {0.5, 0.5}, {2.5, 0.5}, {4.5, 0.5},
    {0.5, 2.5}, {2.5, 2.5}, {4.5, 2.5},
    {0.5, 4.5}, {2.5, 4.5}, {4.5, 4.5},
}};

inline constexpr double kSheetSize = 6.3;  // sheet inches, square

// Draws one cam of the sheet at the plot scale, its frame's corner at
// (xoffset, yoffset) sheet inches, captioned unless the sheet is mirrored.
void PlotAllCams(RasterSurface& surface, const CamJob& job, DesignerState& state, double focalLen,
                 double xoffset, double yoffset);

// Sets the plot scale from "High Res print" and gives the surface the sheet's
// size, line width and text size.
void prepareSheet(const CamJob& job, DesignerState& state, RasterSurface& surface);

// Draws the nine cams of the job's sheet, mirrored and re-labelled on
// request, then the title line and the notes. Returns which cells could not
// be read and repeated the cam before them.
std::array<bool, 10> drawSheet(const CamJob& job, DesignerState& state, RasterSurface& surface);

// Lays out the nine cams of the job's sheet in the plot window with the title
// line and the notes, mirrored on request, then prints and saves the sheet;
// returns the repeated cells and what printing and saving could not do.
PlotOutcome PlotCamSheet(const CamJob& job, DesignerState& state, PlotWindowView& window,
                         PrinterSeam& printer);

}  // namespace korvel
