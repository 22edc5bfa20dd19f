#pragma once

#include <array>

namespace korvel {

class CamDesigner;

// Where each of the nine cams of a sheet stands, in sheet inches, and where its
// label goes when the sheet is mirrored.
struct SheetCell {
  double xoffset;
  double yoffset;
  double mirroredLabelX;
  double mirroredLabelY;
};

inline constexpr std::array<SheetCell, 9> kSheetCells{{
    {0.5, 0.5, 4.6 + 0.5, 0.5 + 0.4}, {2.5, 0.5, 2.6 + 0.5, 0.5 + 0.4}, {4.5, 0.5, 0.6 + 0.5, 0.5 + 0.4},
    {0.5, 2.5, 4.6 + 0.5, 2.5 + 0.4}, {2.5, 2.5, 2.6 + 0.5, 2.5 + 0.4}, {4.5, 2.5, 0.6 + 0.5, 2.5 + 0.4},
    {0.5, 4.5, 4.6 + 0.5, 4.5 + 0.4}, {2.5, 4.5, 2.6 + 0.5, 4.5 + 0.4}, {4.5, 4.5, 0.6 + 0.5, 4.5 + 0.4},
}};

inline constexpr double kSheetSize = 6.3;  // sheet inches, square

class DrawingSurface;

// Sets the plot scale from "High Res print" and gives the surface the sheet's
// size, line width and text size.
void prepareSheet(CamDesigner& designer, DrawingSurface& surface);

// Draws the nine cams of the sheet fields, mirrored and re-labelled on
// request, then the title line and the notes.
void drawSheet(CamDesigner& designer, DrawingSurface& surface);

// Lays out the nine cams of the sheet fields in the plot window with the title
// line and the notes, mirrored on request, then prints and saves the sheet.
void PlotCamSheet(CamDesigner& designer);

}  // namespace korvel
