#include "commands/cut_export.h"

#include "commands/cam_sheet.h"
#include "commands/draw_graph.h"
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

}  // namespace

bool isExportFileType(const QString& file) {
  return cutFileFormatOf(file).has_value();
}

CutFileResult exportCams(const ExportRequest& request) {
  const CamJob job = jobFor(request);
  DesignerState state;
  state.ExtensionFactor = kExtensionFactorAfterCam;
  NoPrinterSeam printer;  // output options are all off: nothing is printed

  const bool sheet = request.sheet.has_value();
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

  return writeCutFile(surface, scale, request.file);
}

}  // namespace korvel
