#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
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
  QTemporaryDir folder;
  FakePrinterSeam printer;
  std::unique_ptr<CamDesigner> designer;

  QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }
  QString settingsPath() const { return path("KorvelCamDesigner.ini"); }

  void writeSettings(const QByteArray& text) { writeFile(settingsPath(), text); }
  QByteArray settingsText() const { return readFile(settingsPath()); }

  CamDesigner& start() {
    designer = std::make_unique<CamDesigner>(DesignerEnvironment{folder.path(), QDir::homePath(), &printer});
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
