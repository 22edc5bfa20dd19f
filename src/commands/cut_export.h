#pragma once

#include <QString>
#include <array>
#include <optional>

#include "export/cut_files.h"

// Drawing a cam or a cam sheet straight into a file, without a window, a
// printer or a settings file: what the command line does.
namespace korvel {

struct ExportRequest {
  QString file;                // its extension names the format: dxf, svg, pdf, csv or bmp
  double focalLength = 135.0;  // in millimetres, or in inches with inch
  std::optional<std::array<double, 9>> sheet;  // the nine focal lengths of a cam sheet
  bool inch = false;
  bool flip = false;            // "Flip Image"
  bool markers = false;         // "Draw distance markers"
  bool highResolution = false;  // "High Res print": the sheet at six times the scale
};

// Whether the request's file names a format that can be written.
bool isExportFileType(const QString& file);

// Draws what Draw Graph draws for the focal length, or the cam sheet of the
// nine (at high resolution on request), as every cam after the first is
// drawn, and writes it.
CutFileResult exportCams(const ExportRequest& request);

}  // namespace korvel
