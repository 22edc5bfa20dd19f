#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "commands/designer_inputs.h"
#include "commands/designer_state.h"
#include "commands/plot_window_view.h"
#include "render/raster_surface.h"
#include "render/surface_fonts.h"
#include "support/fake_printer.h"
#include "support/files.h"

// A command run without a window: the controls as plain inputs, the state of a
// fresh start with a program folder of its own and a fixed clock, a stand-in
// print dialog and a stand-in plot window.
namespace korvel::testing {

// The plot window as the cam sheet sees it: a raster sheet and what was asked
// of the window.
class FakePlotWindow : public PlotWindowView {
 public:
  RasterSurface sheet{6.3f, 6.3f, sheetFont()};
  int shown = 0, placedAtCorner = 0;  // calls
  int horizontalMaximum = -1, verticalMaximum = -1;

  void showWindow() override { ++shown; }
  DrawingSurface& surface() override { return sheet; }
  void placePictureAtCorner() override { ++placedAtCorner; }
  void setHorizontalMaximum(std::int16_t value) override { horizontalMaximum = value; }
  void setVerticalMaximum(std::int16_t value) override { verticalMaximum = value; }
};

class CommandFixture : public ::testing::Test {
 protected:
  QTemporaryDir folder;
  DesignerInputs in;
  DesignerState state;
  FakePrinterSeam printer;
  FakePlotWindow window;

  void SetUp() override {
    state.AppFolder = folder.path() + "/";
    state.now = [] { return QDateTime(QDate(2026, 12, 7), QTime(9, 30)); };
  }
  QString path(const QString& name) const { return folder.filePath(name); }
  QStringList bitmaps() const { return QDir(folder.path()).entryList({"*.bmp"}, QDir::Files); }
};

}  // namespace korvel::testing
