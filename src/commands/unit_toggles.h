#pragma once

class QCheckBox;

namespace korvel {

class CamDesigner;

// Reacts to the user's click on a unit box of the focal lengths (ChkMM,
// ChkInch) or of the measurements (ChkCormm, ChkCorInch), after the click has
// changed the box. Afterwards exactly one box of the pair is checked; the
// numbers are converted once, and only when the unit really changed.
void toggleFocalLengthUnit(CamDesigner& designer, QCheckBox* clicked);
void toggleMeasurementUnit(CamDesigner& designer, QCheckBox* clicked);

}  // namespace korvel
