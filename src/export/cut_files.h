#pragma once

#include <QString>
#include <optional>

#include "export/pdf_page.h"
#include "drawing/cam_drawing.h"

// Files a laser cutter, water-jet or mill works from, the table a machinist
// checks a cam against, and the bitmap as saved: the drawing as it stands on
// its surface, mirrored if it was drawn mirrored. The files for cutting are at
// true size (surface inches divided by the plot scale), without printer
// correction; the part's edge is the line's centre: kerf and tool
// compensation belong to the cutter. The bitmap is the 96 ppi picture.
namespace korvel {

enum class CutFileFormat { Dxf, Svg, Pdf, ProfileCsv, Bitmap };

// The format a file name's extension names, if any.
std::optional<CutFileFormat> cutFileFormatOf(const QString& path);

struct CutFileResult {
  bool written = false;
  QString message;  // on failure: the file and the reason
};

// Writes the drawing in the format path's extension names, replacing an
// earlier file only once the new one is complete; a PDF on a page of paper.
CutFileResult writeCutFile(const CamDrawing& drawing, int scale, const QString& path,
                           Paper paper = localePaper());

}  // namespace korvel
