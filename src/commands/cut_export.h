#pragma once

#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "export/cut_files.h"
#include "export/part_files.h"

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
  Paper paper = localePaper();  // the PDF's page
  // The part files (DXF, SVG):
  bool engrave = true;           // the caption on ENGRAVE
  double allowanceMm = 0.0;      // left on the outline and the holes for filing
  std::optional<double> thicknessMm;  // the material, for the preflight's warnings
  bool nested = false;           // a sheet's nine parts in one file
};

// A DXF or SVG file holds parts, never the drawing: what a cutter cuts.
bool isPartFile(const QString& file);

// One part file of a request: a single cam's, one cam of a sheet's, or the
// nested sheet's nine.
struct PartFile {
  QString nameSuffix;  // put before the extension: "-65", "-150-2"; empty for one file
  std::vector<PlacedPart> parts;
  std::vector<double> focalMm;  // each part's lens
};

// The files the request writes: one, or one per cam of a sheet, named by its
// lens in millimetres with at most two decimals, a repeated lens counted on.
std::vector<PartFile> partFiles(const ExportRequest& request);

// The file of one cam of a sheet: name with the cam's suffix put before its
// extension ("cams.dxf" and "-65": "cams-65.dxf").
QByteArray partFileName(const QByteArray& name, const QString& suffix);
QString partFileName(const QString& name, const QString& suffix);

// Writes one of them in the format path's extension names.
CutFileResult writePartFile(const PartFile& file, const QString& path, const ExportRequest& request);

// What each part of the file holds, one line each, warnings last.
std::vector<std::string> partFileSummary(const PartFile& file, const ExportRequest& request);

// A filing allowance as typed, "." the decimal point: from 0 to
// kLargestAllowanceMm, or nullopt.
std::optional<double> readFilingAllowance(const QString& text);

// Why text is no allowance: "an allowance from 0 to 1 mm: <text>".
QString filingAllowanceRefusal(const QString& text);

// The focus check card of the lens focalMm, in the format path's extension
// names (isFocusCardFile).
bool isFocusCardFile(const QString& file);
QString focusCardFileTypes();  // for a save dialog: "Focus check card, a table (*.csv)"
CutFileResult writeFocusCard(const QString& path, double focalMm, Paper paper = localePaper());

// Whether the request's file names a format that can be written.
bool isExportFileType(const QString& file);

// Draws what Draw Graph draws for the focal length, or the cam sheet of the
// nine (at high resolution on request), as every cam after the first is
// drawn, and writes it.
CutFileResult exportCams(const ExportRequest& request);

}  // namespace korvel
