#include <QLabel>

#include "ui/plot_window.h"

#include "support/designer_fixture.h"
#include "ui/app_folder.h"
#include "ui/check_value.h"

namespace korvel {
namespace {

using DesignerStartUp = testing::DesignerFixture;

TEST_F(DesignerStartUp, ShowsVersionTitleHelpTextsAndTheStoredDefaults) {
  CamDesigner& d = start();
  EXPECT_EQ(d.windowTitle(), "Korvel Cam Designer");
  EXPECT_EQ(d.LBLVersion->text(), "Version : 1.3.70");
  EXPECT_EQ(d.Label3->text(), "Korvel Cam Designer  by Orlan - www.orlan.example");
  EXPECT_EQ(d.Label13->text(),
            "Calculate printer correction factors. Measure width and height of printed cam, enter numbers below.");
  EXPECT_EQ(d.Label15->text(),
            "Calculations are cumulative. If print is wrong size, remeasure, then enter new numbers and hit "
            "Calculate again.");
  EXPECT_EQ(d.Label14->text(), "Enter 0 (zero) or 1 (one) to reset calculations. Result is a ratio, not inches or mm.");

  // No settings file: the stored defaults win over the window's own texts.
  EXPECT_EQ(d.FocalLength->text(), "135");
  EXPECT_EQ(d.PrinterXCor->text(), "0.9375");
  EXPECT_EQ(d.PrinterYCor->text(), "0.9338");
  EXPECT_EQ(d.XCorUser->text(), "1.");
  EXPECT_EQ(d.YCorUser->text(), "1.");
  const char* sheet[] = {"65", "90", "135", "150", "210", "250", "270", "300", "380"};
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(d.FocalLen1[i]->text(), sheet[i - 1]) << i;
  EXPECT_EQ(checkValue(d.ChkMM), 1);
  EXPECT_EQ(checkValue(d.ChkInch), 0);
  EXPECT_EQ(checkValue(d.ChkFlipImage), 1);
  EXPECT_EQ(checkValue(d.ChkCorInch), 1);
  for (QCheckBox* box : {d.ChkDistMarkers, d.ChkHiRes, d.ChkUsePrintCor, d.ChkCormm, d.SaveToDisk, d.printerout})
    EXPECT_EQ(checkValue(box), 0) << box->text().toStdString();
  EXPECT_EQ(d.LBLXCor->text(), "1");
  EXPECT_EQ(d.LBLYCor->text(), "1");
  EXPECT_EQ(d.state.ExtensionFactor, 1.07f);
  EXPECT_EQ(d.state.PlotScale, 4);
  EXPECT_EQ(d.state.AppFolder, folder.path() + "/");
  EXPECT_EQ(d.state.SettingsFilePath, folder.path() + "/KorvelCamDesigner.ini");

  // Focus and a full selection in the focal length.
  EXPECT_TRUE(d.FocalLength->hasFocus());
  EXPECT_EQ(d.FocalLength->selectedText(), "135");
}

TEST_F(DesignerStartUp, WindowHasTheDesignedSizeAndPlacesControlsInTwips) {
  CamDesigner& d = start();
  // 100 and 800 twips are 6.7 and 53.3 pixels, shown at 7 and 53.
  EXPECT_EQ(d.pos(), QPoint(53, 7));
  EXPECT_EQ(d.outerTopTwips(), 100);
  EXPECT_EQ(d.outerLeftTwips(), 800);
  EXPECT_EQ(d.outerWidthTwips(), 8370);
  EXPECT_EQ(d.outerHeightTwips(), 7035);
  EXPECT_EQ(d.FocalLength->geometry(), QRect(184, 56, 57, 19));
  EXPECT_EQ(d.Picture1->geometry(), QRect(328, 56, 201, 137));
  EXPECT_EQ(d.FocalLen1[9]->geometry(), QRect(184, 208, 57, 19));
  EXPECT_EQ(d.CMDExit->geometry(), QRect(448, 400, 89, 25));
  EXPECT_EQ(d.minimumSize(), d.maximumSize());  // the user cannot drag the frame
  EXPECT_EQ(d.CMDDrawGraph->font().weight(), QFont::Bold);
  EXPECT_DOUBLE_EQ(d.CMDDrawGraph->font().pointSizeF(), 8.25);
}

TEST_F(DesignerStartUp, TabbingSelectsTheWholeTextOfTheNumberBoxesButNotOfTheFactors) {
  CamDesigner& d = start();
  // FocalLength, then eight controls before the first sheet box.
  for (int i = 0; i < 9; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), d.FocalLen1[1]);
  for (int i = 1; i <= 9; ++i) {
    ASSERT_EQ(QApplication::focusWidget(), d.FocalLen1[i]);
    EXPECT_EQ(d.FocalLen1[i]->selectedText(), d.FocalLen1[i]->text()) << i;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(QApplication::focusWidget(), d.ChkFlipImage);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), d.PrinterXCor);
  EXPECT_FALSE(d.PrinterXCor->hasSelectedText());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_FALSE(d.PrinterYCor->hasSelectedText());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), d.XCorUser);
  EXPECT_EQ(d.XCorUser->selectedText(), "1.");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(d.YCorUser->selectedText(), "1.");

  // A click into a sheet box selects its text too, so typing replaces it.
  QTest::mouseClick(d.FocalLen1[5], Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(d.FocalLen1[5]->selectedText(), "210");
}

TEST_F(DesignerStartUp, ExitClosesTheWindowAndWritesTheSettings) {
  CamDesigner& d = start();
  QTest::mouseClick(d.CMDExit, Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  EXPECT_TRUE(settingsText().startsWith("[Windows]\nTavoTop="));
}

TEST(AppFolder, IsTheProgramsFolderWithATrailingSeparator) {
  EXPECT_EQ(appFolderFor("/opt/korvel", "/home/ann"), "/opt/korvel/");
  EXPECT_EQ(appFolderFor("/opt/korvel/", "/home/ann"), "/opt/korvel/");
  // A development tools' build folder holds no settings: the home folder does.
  EXPECT_EQ(appFolderFor("/src/\\VB98/korvel", "/home/ann"), "/home/ann/");
  EXPECT_EQ(appFolderFor("/src/\\vb98/korvel", "/home/ann"), "/src/\\vb98/korvel/");
}

TEST_F(DesignerStartUp, ExitClosesThePlotWindowFirstSoItsKeysComeFirst) {
  CamDesigner& d = start();
  QTest::mouseClick(d.CMDPlotCams, Qt::LeftButton);
  ASSERT_NE(d.plotWindow(), nullptr);
  QTest::mouseClick(d.CMDExit, Qt::LeftButton);
  EXPECT_TRUE(settingsText().startsWith("[Windows]\nPWTop=100\nPWLeft=800\nPWWidth=8745\nPWHeight=7110\nTavoTop="));
}

TEST_F(DesignerStartUp, ClosingTheDesignerByItsCloseBoxLeavesThePlotWindowOpen) {
  CamDesigner& d = start();
  QTest::mouseClick(d.CMDPlotCams, Qt::LeftButton);
  d.close();
  ASSERT_NE(d.plotWindow(), nullptr);
  EXPECT_TRUE(d.plotWindow()->isVisible());
  EXPECT_TRUE(settingsText().startsWith("[Windows]\nTavoTop="));
}

}  // namespace
}  // namespace korvel
