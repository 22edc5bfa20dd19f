#include <QFileDialog>
#include <QImageReader>
#include <QMenu>
#include <QTimer>

#include "geometry/focus_card.h"
#include "support/designer_fixture.h"
#include "support/output_checks.h"
#include "ui/app_folder.h"
#include "ui/check_value.h"
#include "ui/plot_window.h"

// What only the designer window does: focus and selection, Enter, clicks on
// the unit boxes, applying the calibration, the re-entry guard, Exit against
// the close box, the plot window's place and the right-click export.
namespace korvel {
namespace {

class DesignerWindow : public testing::DesignerFixture {
 protected:
  // The file dialog keeps its history in the test's folder, not the user's.
  DesignerWindow() { qputenv("XDG_CONFIG_HOME", folder.root().toUtf8()); }
  void click(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }
  void enter(const QString& focal) {
    designer->FocalLength->setFocus();
    designer->FocalLength->selectAll();
    QTest::keyClicks(designer->FocalLength, focal);
    QTest::keyClick(designer->FocalLength, Qt::Key_Return);
  }
};

TEST_F(DesignerWindow, OpensAtItsDesignedSizeAndTabbingSelectsTheWholeTextOfTheNumberBoxes) {
  CamDesigner& d = start();
  EXPECT_EQ(d.FocalLength->selectedText(), "135");
  EXPECT_EQ(d.PreviewPicture->geometry(), QRect(328, 56, 201, 137));  // where its twips put it
  // The controls stand under the menu bar, the message line under them.
  EXPECT_EQ(d.ControlsFrame->pos(), QPoint(0, d.MenuBar->height()));
  EXPECT_EQ(d.MessageLine->geometry().bottom(), d.height() - 1);
  EXPECT_GE(d.MessageLine->y(), d.ControlsFrame->geometry().bottom());
  EXPECT_EQ(d.minimumSize(), d.maximumSize());                  // the frame cannot be dragged
  std::map<QWidget*, QString> selected;
  for (int i = 0; i < 25; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    if (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget())) selected[box] = box->selectedText();
  }
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(selected[d.FocalLen1[i]], d.FocalLen1[i]->text()) << i;
  EXPECT_EQ(selected[d.XCorUser], "1.");
  EXPECT_EQ(selected[d.PrinterXCor], "");  // the factors' boxes are not number boxes
  // A click into a sheet box selects its text too, so typing replaces it.
  QTest::mouseClick(d.FocalLen1[5], Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(d.FocalLen1[5]->selectedText(), "210");
}

// Exit, and Quit in the File menu, close the plot window first, so its keys
// come first; the close box closes only the designer and leaves the plot
// window open. With no position stored, the plot window opened beside the designer.
TEST_F(DesignerWindow, ExitQuitAndTheCloseBoxWriteTheSettings) {
  const struct {
    const char* name;
    bool closesPlotWindow;
    std::function<void(CamDesigner&)> close;
  } ways[] = {
      {"Exit", true, [](CamDesigner& d) { QTest::mouseClick(d.CMDExit, Qt::LeftButton); }},
      {"Quit", true, [](CamDesigner& d) { d.MenuBar->actions()[0]->menu()->actions().last()->trigger(); }},
      {"close box", false, [](CamDesigner& d) { d.close(); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    QFile::remove(folder.path("KorvelCamDesigner.ini"));
    CamDesigner& d = start();
    QTest::mouseClick(d.CMDPlotCams, Qt::LeftButton);
    way.close(d);
    EXPECT_EQ(d.plotWindow() != nullptr && d.plotWindow()->isVisible(), !way.closesPlotWindow);
    const QRect beside = d.frameGeometry();
    const QString plotPlace = QString("[Windows]\nPWTop=%1\nPWLeft=%2\n").arg(beside.top() * 15).arg((beside.right() + 1) * 15);
    EXPECT_TRUE(settingsText().startsWith(way.closesPlotWindow ? plotPlace.toUtf8() : "[Windows]\nTavoTop="))
        << settingsText().toStdString();
  }
}

TEST(AppFolder, IsTheProgramsFolderWithATrailingSeparator) {
  EXPECT_EQ(appFolderFor("/opt/korvel"), "/opt/korvel/");
  // A backslash is an ordinary character of a Linux folder name.
  EXPECT_EQ(appFolderFor("/src/\\VB98/korvel/"), "/src/\\VB98/korvel/");
}

TEST_F(DesignerWindow, EnterDrawsTheCamAndSelectsTheFocalLengthLikeTheButton) {
  CamDesigner& d = start();
  d.ChkDistMarkers->setChecked(true);
  enter("150");
  EXPECT_EQ(d.FocalLength->selectedText(), "150");
  enter("150");
  testing::expectMatchesGolden(d.previewSurface().copyImage(), "draw-graph-150mm-markers-flipped.png");
  const QImage byEnter = d.previewSurface().copyImage();
  QTest::mouseClick(d.CMDDrawGraph, Qt::LeftButton);
  EXPECT_EQ(d.previewSurface().copyImage(), byEnter);
}

TEST_F(DesignerWindow, UnitBoxesConvertOnAClickOrTheSpaceBarOnly) {
  writeSettings("[Options]\nCheckmm=0\nCheckinch=1\n[FocalLengths]\nFL0=6\n");
  CamDesigner& d = start();
  EXPECT_EQ(d.FocalLength->text(), "6");  // loading converts nothing
  click(d.ChkMM);
  click(d.ChkMM);  // the checked box stays checked and converts once
  EXPECT_EQ(d.FocalLength->text(), "152.4");
  EXPECT_EQ(checkValue(d.ChkInch), 0);
  // A press on the other box released outside it is no click.
  QTest::mousePress(d.ChkInch, Qt::LeftButton, {}, QPoint(6, 6));
  QTest::mouseRelease(d.ChkInch, Qt::LeftButton, {}, QPoint(200, 200));
  EXPECT_EQ(d.FocalLength->text(), "152.4");
  d.ChkInch->setFocus();
  QTest::keyClick(d.ChkInch, Qt::Key_Space);
  EXPECT_EQ(d.FocalLength->text(), "6");
  d.XCorUser->setText("1.5");
  click(d.ChkCormm);
  EXPECT_EQ(d.XCorUser->text(), "38.1");
  EXPECT_EQ(checkValue(d.ChkCorInch), 0);
  // A box nobody edited since the last switch gets its own text back; an edited one converts.
  d.FocalLength->setText("5.90551");
  d.FocalLen1[1]->setText("2.5");
  click(d.ChkMM);
  EXPECT_EQ(d.FocalLength->text(), "150");
  d.FocalLen1[1]->setText("65");
  click(d.ChkInch);
  EXPECT_EQ(std::tuple(d.FocalLength->text(), d.FocalLen1[1]->text()),
            std::tuple(QString("5.90551"), QString("2.5591")));
}

// The message line says how near the drawn cam couples, or that it cannot be
// cut, and what saving could not do; a sheet cell that repeated the cam
// before it is framed in red until it is edited.
TEST_F(DesignerWindow, SaysWhatTheCommandsCouldNotDo) {
  struct Row { const char *name, *typed, *message; };
  const Row rows[] = {{"clamped cam", "300", "couples from infinity to 12.5 ft (3.81 m)"},
                      {"too short to cut", "19.99", "The 19.99 mm cam is outside the cuttable range 20 to 4169 mm."},
                      {"folder not writable", "150", "Could not save %1: "}};
  CamDesigner& d = start();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    d.SaveToDisk->setChecked(QString(row.message).contains("%1"));
    testing::setMode(folder.root(), 0555);
    d.FocalLength->setText(row.typed);
    QTest::mouseClick(d.CMDDrawGraph, Qt::LeftButton);
    testing::setMode(folder.root(), 0755);
    const QString bitmap = folder.path("KorvelCamDesigner-150.bmp");
    EXPECT_TRUE(d.message().startsWith(QString(row.message).replace("%1", bitmap))) << d.message().toStdString();
  }
  d.FocalLen1[2]->setText("abc");
  QTest::mouseClick(d.CMDPlotCams, Qt::LeftButton);
  EXPECT_FALSE(d.FocalLen1[1]->isMarked());
  EXPECT_TRUE(d.FocalLen1[2]->toolTip().contains("repeated the cam before it"));
  QTest::keyClicks(d.FocalLen1[2], "1");
  EXPECT_FALSE(d.FocalLen1[2]->isMarked());
}

TEST_F(DesignerWindow, AClickWhilePrintingLetsEventsThroughIsIgnored) {
  CamDesigner& d = start();
  printer.accept = true;
  printer.pdfPath = folder.path("once.pdf");
  d.printerout->setChecked(true);
  d.SaveToDisk->setChecked(true);
  printer.onEvents = [&] {
    d.FocalLength->setText("210");
    QTest::mouseClick(d.CMDDrawGraph, Qt::LeftButton);
  };
  enter("150");
  EXPECT_EQ(printer.dialogs, 1);
  EXPECT_EQ(QDir(folder.root()).entryList({"*.bmp"}), QStringList{"KorvelCamDesigner-150.bmp"});
}

TEST_F(DesignerWindow, ANormalSheetAfterAScrolledHighResolutionOneStandsAtTheCorner) {
  CamDesigner& d = start();
  d.ChkHiRes->setChecked(true);
  QTest::mouseClick(d.CMDPlotCams, Qt::LeftButton);
  PlotWindow& window = *d.plotWindow();
  window.HorizontalScroll->setValue(30);
  window.VerticalScroll->setValue(20);
  d.ChkHiRes->setChecked(false);
  QTest::mouseClick(d.CMDPlotCams, Qt::LeftButton);
  EXPECT_EQ(window.SheetPicture->pos(), QPoint(0, 0));
  EXPECT_EQ(window.HorizontalScroll->value(), 0);
  EXPECT_EQ(window.HorizontalScroll->maximum(), 6);
}

// The next file dialog that open() shows chooses file, of type when one is
// given; gives back the file the dialog offered.
// fill, when given, sees the dialog first.
QString answerFileDialog(const std::function<void()>& open, const QString& file, const QString& type = {},
                         const std::function<void(QFileDialog&)>& fill = {}) {
  QString offered;
  std::function<void()> answer = [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return QTimer::singleShot(10, answer);  // a menu may come first
    offered = dialog->selectedFiles().value(0);
    if (!type.isEmpty()) dialog->selectNameFilter(type);
    if (fill) fill(*dialog);
    dialog->selectFile(file);
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
  };
  QTimer::singleShot(0, answer);
  open();
  return offered;
}

// The export is of the cam drawn, not of the box's text, named like its
// bitmap; the first starts in the documents folder, the next where the last
// one went. The right-click menu and the File menu run the same export.
TEST_F(DesignerWindow, ExportsTheDrawnCamNamedLikeItsBitmapWhereTheLastExportWent) {
  // The documents folder, in the test's folder.
  QDir(folder.root()).mkdir("docs");
  folder.put("user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + folder.path("docs").toUtf8() + "\"\n");
  CamDesigner& d = start();
  d.FocalLength->setText("150");
  QTest::mouseClick(d.CMDDrawGraph, Qt::LeftButton);
  d.FocalLength->setText("210");

  const QString offered = answerFileDialog(
      [&] {
        QTimer::singleShot(0, [] {
          QWidget* menu = QApplication::activePopupWidget();
          ASSERT_TRUE(qobject_cast<QMenu*>(menu));
          QTest::keyClick(menu, Qt::Key_Down);
          QTest::keyClick(menu, Qt::Key_Return);
        });
        emit d.PreviewPicture->customContextMenuRequested(QPoint(10, 10));
      },
      folder.path("cam.csv"));
  EXPECT_EQ(offered, folder.path("docs/KorvelCamDesigner-150.dxf"));
  EXPECT_TRUE(testing::readFile(folder.path("cam.csv")).split('\n').value(1).startsWith("150,0,"));
  EXPECT_TRUE(d.MessageLine->text().startsWith("Exported to " + folder.path("cam.csv") + "; couples from infinity to "))
      << d.MessageLine->text().toStdString();
  EXPECT_TRUE(settingsText().contains("[Export]\nFolder=" + folder.root().toUtf8() + "\n"));

  QMenu* file = d.MenuBar->actions()[0]->menu();
  EXPECT_EQ(answerFileDialog([&] { file->actions()[0]->trigger(); }, "cam", "Bitmap as saved (*.bmp)"),
            folder.path("KorvelCamDesigner-150.dxf"));
  EXPECT_EQ(QImageReader(folder.path("cam.bmp")).size(), QSize(201, 137));
  // The DXF and SVG are the drawn cam's part: the caption as outlines, no title, no text.
  answerFileDialog([&] { file->actions()[0]->trigger(); }, "cam.svg");
  const QByteArray part = testing::readFile(folder.path("cam.svg"));
  EXPECT_TRUE(part.contains("<g id=\"ENGRAVE\"") && !part.contains("<text")) << part.toStdString();
  file->actions()[2]->trigger();  // Save cam bitmap
  EXPECT_EQ(d.MessageLine->text(), "Saved to " + folder.path("KorvelCamDesigner-150.bmp"));
  EXPECT_EQ(QImageReader(folder.path("KorvelCamDesigner-150.bmp")).size(), QSize(201, 137));
}

// The allowance field offers the one kept and is kept once typed; a bad one
// writes nothing. A part's preflight follows its path on the message line.
TEST_F(DesignerWindow, TheFilingAllowanceIsKeptOnceTypedAndABadOneWritesNothing) {
  CamDesigner& d = start();
  d.FocalLength->setText("150");
  QTest::mouseClick(d.CMDDrawGraph, Qt::LeftButton);
  const auto exportWith = [&](const QString& file, const QString& allowance) {
    QString shown;
    answerFileDialog([&] { d.exportPreviewForCutting(); }, file, {}, [&](QFileDialog& dialog) {
      auto* field = dialog.findChild<QLineEdit*>("AllowanceField");
      shown = field->text();
      if (!allowance.isEmpty()) field->setText(allowance);
    });
    return shown;
  };
  EXPECT_EQ(exportWith(folder.path("plain.svg"), {}), "0");
  EXPECT_FALSE(settingsText().contains("Allowance"));
  EXPECT_EQ(exportWith(folder.path("bad.dxf"), "1.5"), "0");
  EXPECT_EQ(d.MessageLine->text(), "Not exported: the filing allowance needs an allowance from 0 to 1 mm: 1.5.");
  EXPECT_FALSE(QFileInfo::exists(folder.path("bad.dxf")));
  exportWith(folder.path("filed.dxf"), "0.2");
  EXPECT_EQ(d.MessageLine->text(), "Exported to " + folder.path("filed.dxf") +
                                       "; part: 39.62 x 18.20 mm (1.560 x 0.716 in); closed contours: 3 (the outline "
                                       "and 2 holes); smallest hole diameter: 5.696 mm; smallest inside radius: none; "
                                       "couples from infinity to 3 ft (0.91 m); allowance: 0.200 mm; layers: CUT, "
                                       "ENGRAVE");
  EXPECT_TRUE(settingsText().contains("\nAllowance=0.2\n")) << settingsText().toStdString();
  EXPECT_EQ(exportWith(folder.path("again.csv"), "abc"), "0.2");  // a table takes none
  EXPECT_TRUE(QFileInfo::exists(folder.path("again.csv")));
}

// The focus check card of the drawn cam holds the command line's rows.
TEST_F(DesignerWindow, TheFocusCardMenuWritesTheCommandLinesCard) {
  CamDesigner& d = start();
  d.FocalLength->setText("210");
  QTest::mouseClick(d.CMDDrawGraph, Qt::LeftButton);
  QMenu* file = d.MenuBar->actions()[0]->menu();
  EXPECT_EQ(QFileInfo(answerFileDialog([&] { file->actions()[1]->trigger(); }, folder.path("card"))).fileName(),
            "KorvelCamDesigner-210-focus-card.csv");
  EXPECT_EQ(testing::readFile(folder.path("card.csv")).toStdString(), focusCardCsv(focusCardRows(210)));
  EXPECT_EQ(d.MessageLine->text(), "Focus check card exported to " + folder.path("card.csv"));
}

// The plot window's DXF is the sheet's nine parts, one per file.
TEST_F(DesignerWindow, ThePlotWindowExportsOnePartFilePerCamOfTheSheet) {
  CamDesigner& d = start();
  QTest::mouseClick(d.CMDPlotCams, Qt::LeftButton);
  answerFileDialog([&] { d.plotWindow()->ExportSheetAction->trigger(); }, folder.path("cams.dxf"));
  for (const char* lens : {"65", "90", "135", "150", "210", "250", "270", "300", "380"})
    EXPECT_TRUE(testing::readFile(folder.path(QString("cams-%1.dxf").arg(lens))).contains("AC1009")) << lens;
  EXPECT_EQ(d.MessageLine->text(),
            "Exported 9 part files to " + folder.root() + ": cams-65.dxf to cams-380.dxf");
}

// A cam that cannot be cut is not exported; the message line says why and no
// dialog opens. The drawing stays as it is.
TEST_F(DesignerWindow, TheExportRefusesACamThatCannotBeCut) {
  const struct {
    const char* name;
    const char* drawn;  // nullptr: nothing drawn
    const char* message;
  } cases[] = {
      {"nothing drawn", nullptr, "Nothing to export: draw a cam first."},
      {"not a number", "abc", "Not exported: a cam for 0 mm cannot be cut; cams are cut for 20 to 4169 mm."},
      {"below the range", "19.99", "Not exported: a cam for 19.99 mm cannot be cut; cams are cut for 20 to 4169 mm."},
      {"above the range", "4169.01", "Not exported: a cam for 4169.01 mm cannot be cut; cams are cut for 20 to 4169 mm."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CamDesigner& d = start();
    if (c.drawn) {
      d.FocalLength->setText(c.drawn);
      QTest::mouseClick(d.CMDDrawGraph, Qt::LeftButton);
    }
    const QImage drawn = d.previewSurface().copyImage();
    bool dialog = false;
    QTimer::singleShot(0, [&] {
      if (QWidget* opened = QApplication::activeModalWidget()) dialog = opened->close();
    });
    d.exportPreviewForCutting();
    EXPECT_FALSE(dialog);
    EXPECT_EQ(d.MessageLine->text(), c.message);
    QTimer::singleShot(0, [&] {
      if (QWidget* opened = QApplication::activeModalWidget()) dialog = opened->close();
    });
    d.exportFocusCard();
    EXPECT_FALSE(dialog);
    EXPECT_EQ(d.MessageLine->text(), c.message);
    EXPECT_EQ(d.previewSurface().copyImage(), drawn);
  }
}

// What the window adds: a value its control cannot take keeps the default; a
// factor far beyond an int is no integer; a click checks a dimmed box for good;
// once the window moves, its place is the pixel it stands at. A calibration
// fills its labels and measurements, never the user's factor boxes.
TEST_F(DesignerWindow, StoredValuesInTheControls) {
  writeSettings("[Windows]\nTavoLeft=10000\n[Options]\nCheckmm=7\nCheckDistMarkers=2\n"
                "[PrinterCor]\nUseCor=1e10\nXCor=1e300\n");
  CamDesigner& d = start();
  d.move(d.x() + 1, d.y());
  EXPECT_EQ(d.outerLeftTwips(), 668 * 15);
  EXPECT_EQ(checkValue(d.ChkMM), 1);
  EXPECT_EQ(checkValue(d.ChkUsePrintCor), 0);
  EXPECT_EQ(d.PrinterXCor->text(), "1E+300");
  for (const int expected : {2, 1, 0, 1}) {
    EXPECT_EQ(checkValue(d.ChkDistMarkers), expected);
    QTest::mouseClick(d.ChkDistMarkers, Qt::LeftButton, {}, QPoint(6, 6));
  }
  d.XCorUser->setText("1.6");
  d.YCorUser->setText("0");
  QTest::mouseClick(d.CMDCalcCor, Qt::LeftButton);
  const QStringList shown{d.LBLXCor->text(), d.LBLYCor->text(), d.YCorUser->text()};
  EXPECT_EQ(shown, (QStringList{".9638", "1.", "0.7"}));
  EXPECT_EQ(d.PrinterXCor->text(), "1E+300");
}

// Every key is read into its control and written back from it unchanged; a
// save that cannot finish leaves the old file whole.
TEST_F(DesignerWindow, AFileComesBackByteForByteAfterASession) {
  const QByteArray stored =
      "[Windows]\nTavoTop=1001\nTavoLeft=10000\nTavoWidth=9007\nTavoHeight=7508\n"
      "[Options]\nCheckmm=0\nCheckinch=1\nCheckFlipImage=2\nCheckDistMarkers=1\nCheckHiRes=1\n"
      "CheckCormm=1\nCheckCorInch=0\n"
      "[PrinterCor]\nXCor=0.95\nYCor=1.02\nUseCor=1\nXUserMeasure=.7055\nYUserMeasure=17.\n"
      "[FocalLengths]\nFL0=5.9\nFL1=1.5\nFL2=3\nFL3=4.5\nFL4=6\nFL5=7.5\nFL6=9\nFL7=10.5\nFL8=12\n"
      "FL9=13.5\n[Scanner]\nXCor=1.004\nYCor=0.998\n[Export]\nFolder=/nowhere\nAllowance=0.25\n";
  writeSettings(stored);
  start();
  closeDesigner();
  EXPECT_EQ(settingsText().toStdString(), stored.toStdString());
  start().FocalLength->setText("90");
  const testing::FileSizeLimit limit(100);  // room for the first few keys only
  closeDesigner();
  EXPECT_EQ(settingsText().toStdString(), stored.toStdString());
}

}  // namespace
}  // namespace korvel
