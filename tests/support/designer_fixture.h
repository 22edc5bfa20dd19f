#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>
#include <memory>

#include "support/fake_printer.h"
#include "support/files.h"
#include "ui/cam_designer.h"

// A designer window running from a fresh program folder of its own, with a
// stand-in print dialog.
namespace korvel::testing {

class DesignerFixture : public ::testing::Test {
 protected:
  TempFolder folder;
  FakePrinterSeam printer;
  std::unique_ptr<CamDesigner> designer;

  void writeSettings(const QByteArray& text) { folder.put("KorvelCamDesigner.ini", text); }
  QByteArray settingsText() const { return folder.get("KorvelCamDesigner.ini"); }

  CamDesigner& start() {
    designer = std::make_unique<CamDesigner>(DesignerEnvironment{folder.root(), &printer});
    designer->showAndFocus();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(designer.get()));
    QApplication::processEvents();
    return *designer;
  }

  // Closes the window as the user would, which writes the settings.
  void closeDesigner() {
    designer->close();
    designer.reset();
  }
};

}  // namespace korvel::testing
