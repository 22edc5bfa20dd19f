#pragma once

#include <array>
#include <optional>

#include "commands/designer_inputs.h"

// What Draw Graph and the cam sheet draw, print and save: the numbers and
// options of one run, read once where the run starts, from the designer
// window's controls or from the command line. The commands never read a text.
namespace korvel {

struct CamJob {
  double typedFocalLength = 0;  // the single cam's lens as typed, unconverted: names its bitmap
  double focalMm = 0;           // the single cam's lens in millimetres; the sheet's first cell falls back on it
  // The sheet's nine lenses in millimetres; a cell that could not be read is
  // empty and repeats the cam before it.
  std::array<std::optional<double>, 9> sheetMm{};
  // The printer correction factors; a box that could not be read is empty,
  // and the factor in force stays as it was.
  std::optional<double> correctionX;
  std::optional<double> correctionY;
  bool useCorrection = false;   // "Use printer correction"
  bool mirror = false;          // "Flip Image"
  bool markers = false;         // "Draw distance markers"
  bool highResolution = false;  // "High Res print": the sheet at six times the scale
  bool print = false;           // "Print cam to default printer"
  bool save = false;            // "Save cam file to disk"
};

// Reads the designer window's texts, each once and as it has always been
// read: the focal length by its leading number (0 when the text does not
// begin with one), times 25.4 when "Inch" is checked; each sheet cell as a
// whole number in the regional format, or with a point, times 25.4 in
// inches; the correction factors as correctionFactorIn reads them. A reading
// that fails leaves its value as it was.
CamJob readCamJob(const DesignerInputs& in);

}  // namespace korvel
