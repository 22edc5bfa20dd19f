#pragma once

#include <optional>
#include <string>

#include "commands/designer_inputs.h"
#include "commands/designer_state.h"
#include "render/drawing_surface.h"
#include "render/printer_seam.h"

// Steps that the single cam and the cam sheet share.
namespace korvel {

// Reloads the printer correction factors from their boxes; a box whose
// number cannot be read keeps the factor as it was.
void reloadCorrectionFactors(const DesignerInputs& in, DesignerState& state);

// Mirrors everything drawn so far left to right over the whole surface.
void mirrorSurface(DrawingSurface& surface);

// "<focal length> mm", the number rounded to two decimals and written in its
// shortest form: 135 mm, 165.1 mm, 152.46 mm.
std::optional<std::string> focalLengthLabel(double focalMm);

// Prints (when "Print cam to default printer" is checked) and then saves
// (when "Save cam file to disk" is checked) the finished surface.
void printAndSave(const DesignerInputs& in, const DesignerState& state, DrawingSurface& surface, int scale,
                  const std::string& fileName, PrinterSeam& printer);

}  // namespace korvel
