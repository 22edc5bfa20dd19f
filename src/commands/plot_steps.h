#pragma once

#include <QString>
#include <array>
#include <optional>
#include <string>

#include "commands/cam_job.h"
#include "commands/designer_state.h"
#include "common/atomic_file.h"
#include "render/raster_surface.h"
#include "render/printer_seam.h"

// Steps that the single cam and the cam sheet share.
namespace korvel {

// What a drawing command could not do, for the window to say; the command
// went on all the same.
struct PlotOutcome {
  QString savedPath;                   // the bitmap saving wrote or tried; empty when not asked
  FileWriteResult saved;               // how that save ended
  QString printRefused;                // why the print was not sent; empty otherwise
  std::array<bool, 10> repeatedCells{};  // sheet cells 1 to 9 that repeated the cam before them
  double focalMm = 0;                  // the lens of the single cam drawn
};

// Makes the job's printer correction factors the ones in force; a factor
// that could not be read keeps the one in force as it was.
void reloadCorrectionFactors(const CamJob& job, DesignerState& state);

// Mirrors everything drawn so far left to right over the whole surface.
void mirrorSurface(RasterSurface& surface);

// Prints (when "Print cam to default printer" is checked) and then saves
// (when "Save cam file to disk" is checked) the finished surface. A
// correction factor in use outside 0.5 to 2 would print a cam of the wrong
// size: that print is not sent, and the outcome says why.
void printAndSave(const CamJob& job, const DesignerState& state, RasterSurface& surface, int scale,
                  const std::string& fileName, PrinterSeam& printer, PlotOutcome& outcome);

}  // namespace korvel
