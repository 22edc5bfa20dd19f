#include "support/designer_fixture.h"
#include "ui/app_folder.h"
#include "ui/plot_window.h"

namespace korvel {
namespace {

using DesignerStartUp = testing::DesignerFixture;

TEST_F(DesignerStartUp, OpensAtItsDesignedSizeWithTheFocalLengthSelected) {
  CamDesigner& d = start();
  EXPECT_EQ(d.LBLVersion->text(), "Version : 1.3.70");
  EXPECT_EQ(d.state.SettingsFilePath, folder.path() + "/KorvelCamDesigner.ini");
  EXPECT_EQ(d.state.ExtensionFactor, 1.07f);
  EXPECT_TRUE(d.FocalLength->hasFocus());
  EXPECT_EQ(d.FocalLength->selectedText(), "135");
  // Controls stand where their twips put them; the frame cannot be dragged.
  EXPECT_EQ(d.Picture1->geometry(), QRect(328, 56, 201, 137));
  EXPECT_EQ(d.CMDExit->geometry(), QRect(448, 400, 89, 25));
  EXPECT_EQ(d.minimumSize(), d.maximumSize());
}

TEST_F(DesignerStartUp, TabbingSelectsTheWholeTextOfTheNumberBoxesButNotOfTheFactors) {
  CamDesigner& d = start();
  std::map<QWidget*, QString> selected;
  for (int i = 0; i < 25; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    if (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget())) selected[box] = box->selectedText();
  }
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(selected[d.FocalLen1[i]], d.FocalLen1[i]->text()) << i;
  EXPECT_EQ(selected[d.XCorUser], "1.");
  EXPECT_EQ(selected[d.PrinterXCor], "");
  EXPECT_EQ(selected[d.PrinterYCor], "");
  // A click into a sheet box selects its text too, so typing replaces it.
  QTest::mouseClick(d.FocalLen1[5], Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(d.FocalLen1[5]->selectedText(), "210");
}

// Exit closes the plot window first, so its keys come first; the close box
// closes only the designer and leaves the plot window open.
TEST_F(DesignerStartUp, ExitAndTheCloseBoxWriteTheSettings) {
  for (bool exitButton : {true, false}) {
    SCOPED_TRACE(exitButton ? "Exit" : "close box");
    QFile::remove(settingsPath());
    CamDesigner& d = start();
    QTest::mouseClick(d.CMDPlotCams, Qt::LeftButton);
    if (exitButton) QTest::mouseClick(d.CMDExit, Qt::LeftButton);
    else d.close();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.plotWindow() != nullptr && d.plotWindow()->isVisible(), !exitButton);
    EXPECT_TRUE(settingsText().startsWith(exitButton ? "[Windows]\nPWTop=100\nPWLeft=800\nPWWidth=8745\nPWHeight=7110\n"
                                                     : "[Windows]\nTavoTop="));
  }
}

TEST(AppFolder, IsTheProgramsFolderWithATrailingSeparator) {
  EXPECT_EQ(appFolderFor("/opt/korvel", "/home/ann"), "/opt/korvel/");
  EXPECT_EQ(appFolderFor("/opt/korvel/", "/home/ann"), "/opt/korvel/");
  // A development tools' build folder holds no settings: the home folder does.
  EXPECT_EQ(appFolderFor("/src/\\VB98/korvel", "/home/ann"), "/home/ann/");
  EXPECT_EQ(appFolderFor("/src/\\vb98/korvel", "/home/ann"), "/src/\\vb98/korvel/");
}

}  // namespace
}  // namespace korvel
