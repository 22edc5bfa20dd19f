#include "commands/cut_export.h"

#include <QLocale>

#include "commands/cam_sheet.h"
#include "commands/draw_graph.h"
#include "render/raster_surface.h"
#include "render/surface_fonts.h"

namespace korvel {

namespace {

DesignerInputs inputsFor(const ExportRequest& request) {
  DesignerInputs in;
  in.FocalLength = QString::number(request.focalLength, 'g', 17);
  if (request.sheet) {
    // The sheet reads its fields in the user's regional format.
    QLocale regional = QLocale::system();
    regional.setNumberOptions(QLocale::OmitGroupSeparator);
    for (std::size_t i = 0; i < request.sheet->size(); ++i)
      in.FocalLen1[i + 1] = regional.toString((*request.sheet)[i], 'g', 17);
  }
  in.ChkMM = request.inch ? 0 : 1;
  in.ChkInch = request.inch ? 1 : 0;
  in.ChkFlipImage = request.flip ? 1 : 0;
  in.ChkDistMarkers = request.markers ? 1 : 0;
  in.ChkHiRes = request.highResolution ? 1 : 0;
  in.printerout = 0;
  in.SaveToDisk = 0;
  return in;
}

}  // namespace

bool isExportFileType(const QString& file) {
  return cutFileFormatOf(file).has_value();
}

CutFileResult exportCams(const ExportRequest& request) {
  const DesignerInputs in = inputsFor(request);
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
    prepareSheet(in, state, surface);
    drawSheet(in, state, surface);
    scale = state.PlotScale;
  } else {
    DrawGraph(in, state, surface, printer);
  }

  return writeCutFile(surface, scale, request.file);
}

}  // namespace korvel
