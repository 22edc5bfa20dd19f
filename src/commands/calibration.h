#pragma once

namespace korvel {

class CamDesigner;

// Turns the measured width and height of a printed test cam into printer
// correction ratios, multiplied into the ratios shown last time.
void CalculateCorrection(CamDesigner& designer);

}  // namespace korvel
