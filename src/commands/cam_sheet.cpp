#include "commands/cam_sheet.h"

#include <QDateTime>
#include <QLocale>

#include "commands/control_numbers.h"
#include "common/failing_step.h"
#include "common/units.h"
#include "export/bitmap_file.h"
#include "geometry/cam_outline.h"

namespace korvel {

namespace {

constexpr float kTextPoints = 8;
constexpr const char* kSheetBitmapName = "KorvelCamDesigner.bmp";

// Where the sheet is saved, as the save names it.
QString sheetBitmapPath(const DesignerState& state) { return state.AppFolder + qText(kSheetBitmapName); }

struct Note {
  double x;
  double y;
};

void writeNote(RasterSurface& surface, std::int16_t scale, Note at, const std::string& text) {
  runStep([&] {
    surface.setTextPosition(static_cast<float>(at.x * scale), static_cast<float>(at.y * scale));
    surface.writeText(text);
  });
}

std::string titleLine(const QDateTime& now) {
  const QLocale locale = QLocale::system();
  return "Korvel Cam Designer by Orlan - " + std::string(kAuthorWebAddress) + "   " +
         locale.toString(now.date(), QLocale::ShortFormat).toStdString() + "   " +
         locale.toString(now.time(), QLocale::ShortFormat).toStdString();
}

// A factor in its shortest form with the regional decimal separator.
std::string regionalNumber(double value) {
  QString text = qText(generalNumberText(value).value());
  return text.replace('.', QLocale::system().decimalPoint()).toStdString();
}

void writeNotes(const CamJob& job, const DesignerState& state, RasterSurface& surface, std::int16_t scale) {
  writeNote(surface, scale, {0.5, 0.1}, titleLine(state.now()));
  writeNote(surface, scale, {0.3, 5.4},
            "Cams are 1.542 inch (39.1668 mm) wide at base: .700 inch (17.78 mm) at highest point: .695 inch "
            "(17.653 mm) at infinity.");
  if (job.markers) {
    writeNote(surface, scale, {0.3, 5.6},
              "Distance markers are : infinity (highest point), 100ft, 50ft, 25ft, 15ft, 10ft, 8ft, 7ft, "
              "6ft, 5ft, 4ft, 3.5ft, 3ft");
    writeNote(surface, scale, {0.3, 5.8},
              "Distance marker Cam Heights (inches) : .695, .692, .688, .681, ,669, .654, .647, .639, .632, "
              ".621, .599, .584, .567");
    writeNote(surface, scale, {0.3, 6}, "Bottom Notch (inches): .01");
  }
  if (job.useCorrection) {
    runStep([&] {
      writeNote(surface, scale, {2.5, 6},
                "Cam/printer correction factors :  X = " + regionalNumber(state.XCor) + "   Y = " +
                    regionalNumber(state.YCor));
    });
  }
}

}  // namespace

void PlotAllCams(RasterSurface& surface, const CamJob& job, DesignerState& state, double focalLen,
                 double xoffset, double yoffset) {
  CamOutlineOptions options;
  options.plotScale = state.PlotScale;
  options.distanceMarkers = job.markers;
  options.caption = !job.mirror;
  drawCamOutline(surface, focalLen, xoffset, yoffset, state.ExtensionFactor, options);
}

void prepareSheet(const CamJob& job, DesignerState& state, RasterSurface& surface) {
  const bool highResolution = job.highResolution;
  state.PlotScale = highResolution ? 6 : 1;
  surface.setLineWidth(highResolution ? 3 : 1);
  const std::int16_t scale = state.PlotScale;
  surface.setOuterHeight(static_cast<float>(kSheetSize * scale));
  surface.setOuterWidth(static_cast<float>(kSheetSize * scale));
  surface.setTextSize(kTextPoints * scale);
}

std::array<bool, 10> drawSheet(const CamJob& job, DesignerState& state, RasterSurface& surface) {
  const std::int16_t scale = state.PlotScale;
  double focalMm = job.focalMm;
  reloadCorrectionFactors(job, state);

  // Each cam takes its field's focal length; a field that is not a number
  // repeats the cam before it (the first one the FocalLength box's).
  std::array<double, kSheetCells.size()> drawnFor{};
  std::array<bool, 10> repeated{};
  for (std::size_t i = 0; i < kSheetCells.size(); ++i) {
    repeated[i + 1] = !job.sheetMm[i];
    if (job.sheetMm[i]) focalMm = *job.sheetMm[i];
    drawnFor[i] = focalMm;
    PlotAllCams(surface, job, state, focalMm, kSheetCells[i].xoffset, kSheetCells[i].yoffset);
  }

  if (job.mirror) {
    mirrorSurface(surface);
    // The labels, written after mirroring so they read normally, name the lens
    // each cam was drawn for.
    for (std::size_t i = 0; i < kSheetCells.size(); ++i) {
      runStep([&] {
        const CaptionCentre at = captionCentre(kSheetCells[i].xoffset, kSheetCells[i].yoffset, scale);
        surface.writeTextCentred(surface.innerWidth() - at.x, at.y, camCaption(drawnFor[i]).value());
      });
    }
  }
  writeNotes(job, state, surface, scale);
  return repeated;
}

PlotOutcome PlotCamSheet(const CamJob& job, DesignerState& state, PlotWindowView& window,
                         PrinterSeam& printer) {
  if (job.save) beginBitmapFile(sheetBitmapPath(state));
  window.showWindow();
  RasterSurface& surface = window.surface();
  surface.clear();

  prepareSheet(job, state, surface);
  // A true-size sheet starts at the window's top-left corner; a high
  // resolution one stays where the user scrolled it.
  if (state.PlotScale == 1) window.placePictureAtCorner();
  runStep([&] { window.setHorizontalMaximum(toInt16(surface.outerWidth()).value()); });
  runStep([&] { window.setVerticalMaximum(toInt16(surface.outerHeight()).value()); });

  PlotOutcome outcome;
  outcome.repeatedCells = drawSheet(job, state, surface);
  printAndSave(job, state, surface, state.PlotScale, kSheetBitmapName, printer, outcome);
  return outcome;
}

}  // namespace korvel
