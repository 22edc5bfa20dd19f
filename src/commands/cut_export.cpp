#include "commands/cut_export.h"

#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "commands/cam_sheet.h"
#include "commands/draw_graph.h"
#include "common/atomic_file.h"
#include "common/number_text.h"
#include "common/write_error.h"
#include "export/bitmap_file.h"
#include "export/focus_card_pdf.h"
#include "geometry/cam_outline.h"
#include "geometry/focus_card.h"
#include "geometry/part_preflight.h"
#include "common/units.h"
#include "render/raster_surface.h"
#include "render/surface_fonts.h"

namespace korvel {

namespace {

// The request's numbers as they are: nothing is written out as text to be
// read back.
CamJob jobFor(const ExportRequest& request) {
  const double unit = request.inch ? kMmPerInch : 1.0;
  CamJob job;
  job.typedFocalLength = request.focalLength;
  job.focalMm = request.focalLength * unit;
  if (request.sheet)
    for (std::size_t i = 0; i < job.sheetMm.size(); ++i) job.sheetMm[i] = (*request.sheet)[i] * unit;
  job.mirror = request.flip;
  job.markers = request.markers;
  job.highResolution = request.highResolution;
  return job;  // no printing, no saving, no correction
}

// Nested parts stand this far apart, bounding box to bounding box.
constexpr double kNestingGapMm = 5.0;
constexpr std::size_t kNestingColumns = 3;

CamPart partFor(double focalMm, LeadInStyle leadIn, const ExportRequest& request) {
  const CamPart part = camPartMm(focalMm, leadIn);
  return request.allowanceMm > 0.0 ? withFilingAllowance(part, request.allowanceMm) : part;
}

PlacedPart placed(double focalMm, LeadInStyle leadIn, const ExportRequest& request) {
  return {partFor(focalMm, leadIn, request), camCaption(focalMm).value_or(""), {0.0, 0.0}};
}

// The nine in rows of three in sheet order, the first row on top.
void nest(std::vector<PlacedPart>& parts) {
  const std::size_t rows = (parts.size() + kNestingColumns - 1) / kNestingColumns;
  std::vector<double> columnWidth(kNestingColumns, 0.0), rowHeight(rows, 0.0);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    columnWidth[i % kNestingColumns] = std::max(columnWidth[i % kNestingColumns], parts[i].part.widthMm);
    rowHeight[i / kNestingColumns] = std::max(rowHeight[i / kNestingColumns], parts[i].part.heightMm);
  }
  for (std::size_t i = 0; i < parts.size(); ++i) {
    double x = 0.0, y = 0.0;
    for (std::size_t c = 0; c < i % kNestingColumns; ++c) x += columnWidth[c] + kNestingGapMm;
    for (std::size_t r = i / kNestingColumns + 1; r < rows; ++r) y += rowHeight[r] + kNestingGapMm;
    parts[i].at = {x, y};
  }
}

}  // namespace

bool isPartFile(const QString& file) {
  const std::optional<CutFileFormat> format = cutFileFormatOf(file);
  return format == CutFileFormat::Dxf || format == CutFileFormat::Svg;
}

std::vector<PartFile> partFiles(const ExportRequest& request) {
  const CamJob job = jobFor(request);
  if (!request.sheet) return {{{}, {placed(job.focalMm, LeadInStyle::Unshifted, request)}, {job.focalMm}}};
  std::vector<PartFile> files;
  for (const std::optional<double>& focalMm : job.sheetMm)  // every one set from the request
    files.push_back({{}, {placed(focalMm.value(), LeadInStyle::SetBack, request)}, {focalMm.value()}});
  if (request.nested) {
    PartFile nested;
    for (const PartFile& file : files) {
      nested.parts.push_back(file.parts.front());
      nested.focalMm.push_back(file.focalMm.front());
    }
    nest(nested.parts);
    return {nested};
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    const QString lens = QString::fromStdString(roundedNumberText(files[i].focalMm.front(), NumberPattern::TwoDecimals)
                                                    .value_or("0"));
    int repeats = 1;
    for (std::size_t j = 0; j < i; ++j)
      if (files[j].parts.front().caption == files[i].parts.front().caption) ++repeats;
    files[i].nameSuffix = "-" + lens + (repeats > 1 ? "-" + QString::number(repeats) : QString());
  }
  return files;
}

QByteArray partFileName(const QByteArray& name, const QString& suffix) {
  const qsizetype dot = name.lastIndexOf('.');
  return name.left(dot) + suffix.toUtf8() + name.mid(dot);
}

QString partFileName(const QString& name, const QString& suffix) {
  return QString::fromUtf8(partFileName(name.toUtf8(), suffix));
}

CutFileResult writePartFile(const PartFile& file, const QString& path, const ExportRequest& request) {
  const PartLayers layers{request.engrave};
  const QByteArray content = cutFileFormatOf(path) == CutFileFormat::Dxf ? partDxfContent(file.parts, layers)
                                                                          : partSvgContent(file.parts, layers);
  const FileWriteResult written = writeFileAtomically(path, content);
  if (!written) return {false, path + ": " + writeErrorText(written.error)};
  return {true, {}};
}

std::vector<std::string> partFileSummary(const PartFile& file, const ExportRequest& request) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < file.parts.size(); ++i) {
    PreflightInputs inputs;
    inputs.focalMm = file.focalMm[i];
    inputs.part = file.parts[i].part;
    inputs.allowanceMm = request.allowanceMm;
    inputs.engrave = request.engrave;
    inputs.thicknessMm = request.thicknessMm;
    // Each part of a nested file under its lens.
    if (file.parts.size() > 1) lines.push_back(file.parts[i].caption + ":");
    for (const std::string& line : preflightSummary(inputs)) lines.push_back(line);
  }
  return lines;
}

std::optional<double> readFilingAllowance(const QString& text) {
  QLocale plain = QLocale::c();
  plain.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
  bool ok = false;
  const double mm = plain.toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(mm) || mm < 0.0 || mm > kLargestAllowanceMm) return std::nullopt;
  return mm;
}

QString filingAllowanceRefusal(const QString& text) {
  return QStringLiteral("an allowance from 0 to %1 mm: %2").arg(kLargestAllowanceMm).arg(text);
}

namespace {

CutFileResult writeFocusCardTable(const QString& path, double focalMm, Paper /*no page*/) {
  const FileWriteResult written = writeFocusCardCsv(path, focalMm);
  if (!written) return {false, path + ": " + writeErrorText(written.error)};
  return {true, {}};
}

// The card's formats, each with its writer and the save dialog's type.
struct FocusCardWriter {
  CutFileFormat format;
  CutFileResult (*write)(const QString& path, double focalMm, Paper paper);
  const char* fileType;
};
const FocusCardWriter kFocusCardWriters[] = {
    {CutFileFormat::ProfileCsv, writeFocusCardTable, "Focus check card, a table (*.csv)"},
    {CutFileFormat::Pdf, writeFocusCardPdf, "Focus check card, a page (*.pdf)"},
};

const FocusCardWriter* focusCardWriterFor(const QString& file) {
  for (const FocusCardWriter& writer : kFocusCardWriters)
    if (cutFileFormatOf(file) == writer.format) return &writer;
  return nullptr;
}

}  // namespace

bool isFocusCardFile(const QString& file) { return focusCardWriterFor(file) != nullptr; }

QString focusCardFileTypes() {
  QStringList types;
  for (const FocusCardWriter& writer : kFocusCardWriters) types << writer.fileType;
  return types.join(";;");
}

CutFileResult writeFocusCard(const QString& path, double focalMm, Paper paper) {
  const FocusCardWriter* writer = focusCardWriterFor(path);
  if (!writer) return {false, path + ": the focus check card is written as " + focusCardFileTypes()};
  return writer->write(path, focalMm, paper);
}

bool isExportFileType(const QString& file) {
  return cutFileFormatOf(file).has_value();
}

CutFileResult exportCams(const ExportRequest& request) {
  const CamJob job = jobFor(request);
  DesignerState state;
  state.ExtensionFactor = kExtensionFactorAfterCam;
  NoPrinterSeam printer;  // output options are all off: nothing is printed

  const bool sheet = request.sheet.has_value();
  if (sheet && cutFileFormatOf(request.file) == CutFileFormat::Bitmap) beginBitmapFile(request.file);
  RasterSurface surface =
      sheet ? RasterSurface(static_cast<float>(kSheetSize), static_cast<float>(kSheetSize),
                            sheetFont())
            : RasterSurface(kPreviewWidthInches, kPreviewHeightInches, previewFont());
  int scale = 1;
  if (sheet) {
    prepareSheet(job, state, surface);
    drawSheet(job, state, surface);
    scale = state.PlotScale;
  } else {
    DrawGraph(job, state, surface, printer);
  }

  return writeCutFile(surface.drawing(), scale, request.file, request.paper);
}

}  // namespace korvel
