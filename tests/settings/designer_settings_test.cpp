#include <sys/stat.h>

#include <functional>

#include "support/designer_fixture.h"
#include "support/file_size_limit.h"
#include "ui/check_value.h"

namespace korvel {
namespace {

class DesignerSettings : public testing::DesignerFixture {};

const char* const kDefaultFile =
    "[Windows]\nTavoTop=100\nTavoLeft=800\nTavoWidth=8370\nTavoHeight=7035\n"
    "[Options]\nCheckmm=1\nCheckinch=0\nCheckFlipImage=1\nCheckDistMarkers=0\nCheckHiRes=0\n"
    "CheckCormm=0\nCheckCorInch=1\n"
    "[PrinterCor]\nXCor=0.9375\nYCor=0.9338\nUseCor=0\nXUserMeasure=1.\nYUserMeasure=1.\n"
    "[FocalLengths]\nFL0=135\nFL1=65\nFL2=90\nFL3=135\nFL4=150\nFL5=210\nFL6=250\nFL7=270\nFL8=300\n"
    "FL9=380\n";

TEST_F(DesignerSettings, AFileWrittenFromNothingHoldsEveryKeyOnceInItsSection) {
  start();
  closeDesigner();
  EXPECT_EQ(settingsText().toStdString(), kDefaultFile);
}

struct StoredCase {
  const char* name;
  const char* file;
  std::function<void(CamDesigner&)> check;
};

TEST_F(DesignerSettings, StoredValuesAreCorrectedAndApplied) {
  const StoredCase cases[] = {
      {"geometry accepted", "[Windows]\nTavoTop=1500\nTavoLeft=2000\nTavoWidth=9000\nTavoHeight=7500\n",
       [](CamDesigner& d) {
         EXPECT_EQ(d.outerTopTwips(), 1500);
         EXPECT_EQ(d.outerLeftTwips(), 2000);
         EXPECT_EQ(d.outerWidthTwips(), 9000);
         EXPECT_EQ(d.outerHeightTwips(), 7500);
       }},
      {"geometry bounds", "[Windows]\nTavoTop=50\nTavoLeft=12000\nTavoWidth=5000\nTavoHeight=10\n",
       [](CamDesigner& d) {
         EXPECT_EQ(d.outerTopTwips(), 100);
         EXPECT_EQ(d.outerLeftTwips(), 800);
         EXPECT_EQ(d.outerWidthTwips(), 8370);
         EXPECT_EQ(d.outerHeightTwips(), 7035);
       }},
      // Shown at whole pixels (10000 twips at 667), written back as stored
      // until the user moves the window.
      {"geometry between pixels", "[Windows]\nTavoTop=1001\nTavoLeft=10000\nTavoWidth=9007\nTavoHeight=7508\n",
       [](CamDesigner& d) {
         EXPECT_EQ(d.outerTopTwips(), 1001);
         EXPECT_EQ(d.outerLeftTwips(), 10000);
         EXPECT_EQ(d.outerWidthTwips(), 9007);
         EXPECT_EQ(d.outerHeightTwips(), 7508);
         d.move(d.x() + 1, d.y());
         EXPECT_EQ(d.outerLeftTwips(), 668 * 15);
         EXPECT_EQ(d.outerTopTwips(), 1001);
       }},
      {"left below its lower bound", "[Windows]\nTavoLeft=50\n",
       [](CamDesigner& d) { EXPECT_EQ(d.outerLeftTwips(), 800); }},
      // A value beyond 16 bits takes the key's own default, never the value of
      // the key read before it.
      {"16-bit overflow", "[Windows]\nTavoTop=99999\n", [](CamDesigner& d) { EXPECT_EQ(d.outerTopTwips(), 100); }},
      {"16-bit overflow after a good key", "[Windows]\nTavoTop=1500\nTavoLeft=-480000\n",
       [](CamDesigner& d) {
         EXPECT_EQ(d.outerTopTwips(), 1500);
         EXPECT_EQ(d.outerLeftTwips(), 800);
       }},
      {"check boxes", "[Options]\nCheckmm=-3\nCheckCorInch=-3\nCheckFlipImage=2\nCheckDistMarkers=7\nCheckHiRes=1\n",
       [](CamDesigner& d) {
         EXPECT_EQ(checkValue(d.ChkMM), 0);
         EXPECT_EQ(checkValue(d.ChkCorInch), 1);
         EXPECT_EQ(checkValue(d.ChkFlipImage), 2);
         EXPECT_EQ(checkValue(d.ChkDistMarkers), 0);  // 7 refused: as the window has it
         EXPECT_EQ(checkValue(d.ChkHiRes), 1);
       }},
      {"dimmed mm box", "[Options]\nCheckmm=2\n", [](CamDesigner& d) { EXPECT_EQ(checkValue(d.ChkMM), 2); }},
      {"refused mm box", "[Options]\nCheckmm=7\n", [](CamDesigner& d) { EXPECT_EQ(checkValue(d.ChkMM), 1); }},
      {"factor not a number", "[PrinterCor]\nXCor=abc\nYCor=0\n",
       [](CamDesigner& d) {
         EXPECT_EQ(d.PrinterXCor->text(), "0.9375");
         EXPECT_EQ(d.PrinterYCor->text(), "0.9338");
       }},
      {"factor with a comma", "[PrinterCor]\nXCor=0,95\n",
       [](CamDesigner& d) { EXPECT_EQ(d.PrinterXCor->text(), "0.9375"); }},
      {"factor with trailing zeros", "[PrinterCor]\nXCor=0.95000\nYCor=1e400\n",
       [](CamDesigner& d) {
         EXPECT_EQ(d.PrinterXCor->text(), "0.95");
         EXPECT_EQ(d.PrinterYCor->text(), "0.9338");  // its own default, not XCor's value
       }},
      {"factor far beyond an int", "[PrinterCor]\nXCor=1e300\n",
       [](CamDesigner& d) { EXPECT_EQ(d.PrinterXCor->text(), "1E+300"); }},
      {"use correction", "[PrinterCor]\nUseCor=0.6\n",
       [](CamDesigner& d) { EXPECT_EQ(checkValue(d.ChkUsePrintCor), 1); }},
      {"use correction beyond 16 bits", "[PrinterCor]\nUseCor=1e10\n",
       [](CamDesigner& d) { EXPECT_EQ(checkValue(d.ChkUsePrintCor), 0); }},
      {"measurements", "[PrinterCor]\nXUserMeasure=0.70549\nYUserMeasure=2\n",
       [](CamDesigner& d) {
         EXPECT_EQ(d.XCorUser->text(), ".7055");
         EXPECT_EQ(d.YCorUser->text(), "2.");
       }},
      {"measurement 0", "[PrinterCor]\nXUserMeasure=0\nYUserMeasure=-1.5\n",
       [](CamDesigner& d) {
         EXPECT_EQ(d.XCorUser->text(), "1.");
         EXPECT_EQ(d.YCorUser->text(), "-1.5");
       }},
      {"focal lengths keep their fractions", "[FocalLengths]\nFL0=5.9\nFL1=127.5\nFL3=0.4\nFL4=-2\n",
       [](CamDesigner& d) {
         EXPECT_EQ(d.FocalLength->text(), "5.9");
         EXPECT_EQ(d.FocalLen1[1]->text(), "127.5");
         EXPECT_EQ(d.FocalLen1[3]->text(), "135");
         EXPECT_EQ(d.FocalLen1[4]->text(), "150");
       }},
      {"focal lengths read leniently", "[FocalLengths]\nFL0=150%75\nFL1=1 5 0\nFL2=150mm\nFL5=1e400\n",
       [](CamDesigner& d) {
         EXPECT_EQ(d.FocalLength->text(), "150");
         EXPECT_EQ(d.FocalLen1[1]->text(), "150");
         EXPECT_EQ(d.FocalLen1[2]->text(), "150");
         EXPECT_EQ(d.FocalLen1[5]->text(), "210");
       }},
      {"focal lengths beyond 16 bits", "[FocalLengths]\nFL5=99999\nFL6=1e30\nFL7=-40000\nFL8=32767.4\nFL9=32767.5\n",
       [](CamDesigner& d) {
         EXPECT_EQ(d.FocalLen1[5]->text(), "210");
         EXPECT_EQ(d.FocalLen1[6]->text(), "250");
         EXPECT_EQ(d.FocalLen1[7]->text(), "270");
         EXPECT_EQ(d.FocalLen1[8]->text(), "32767.4");
         EXPECT_EQ(d.FocalLen1[9]->text(), "380");
       }},
      {"only the first 39 characters", "[FocalLengths]\nFL0=000000000000000000000000000000000000150999\n",
       [](CamDesigner& d) { EXPECT_EQ(d.FocalLength->text(), "150"); }},
      {"names in any letter case", "[focallengths]\nfl0 = 210 \n",
       [](CamDesigner& d) { EXPECT_EQ(d.FocalLength->text(), "210"); }},
  };
  for (const StoredCase& c : cases) {
    SCOPED_TRACE(c.name);
    writeSettings(c.file);
    c.check(start());
    designer.reset();
  }
}

TEST_F(DesignerSettings, NulInsideAValueCutsItThere) {
  writeSettings(QByteArray("[FocalLengths]\nFL0=12\0" "34\n", 23));
  EXPECT_EQ(start().FocalLength->text(), "12");
}

TEST_F(DesignerSettings, AWindowsFileKeepsItsCommentsUnknownKeysAndLineEndings) {
  const QByteArray windowsFile =
      "; Korvel settings\r\n[Windows]\r\nTavoTop=1500\r\nTavoLeft=2000\r\nLegacy=keep me\r\n\r\n"
      "[Options]\r\nCheckmm=0\r\nCheckinch=1\r\n; note\r\n[Other]\r\nx=1\r\n"
      "[FocalLengths]\r\nFL0=6\r\n";
  writeSettings(windowsFile);
  CamDesigner& d = start();
  EXPECT_EQ(checkValue(d.ChkInch), 1);
  EXPECT_EQ(d.FocalLength->text(), "6");
  closeDesigner();
  const QByteArray saved = settingsText();
  for (const char* line : {"; Korvel settings\r\n", "Legacy=keep me\r\n", "; note\r\n", "[Other]\r\nx=1\r\n",
                           "TavoTop=1500\r\n", "FL0=6\r\n", "FL9=380\r\n", "CheckCorInch=1\r\n"})
    EXPECT_TRUE(saved.contains(line)) << line;
  EXPECT_EQ(saved.count("\n"), saved.count("\r\n"));
  EXPECT_LT(saved.indexOf("Legacy=keep me"), saved.indexOf("[Options]"));
}

TEST_F(DesignerSettings, ReadOnlyFileOrFolderIsReadAndLeftUntouched) {
  for (bool folderReadOnly : {false, true}) {
    SCOPED_TRACE(folderReadOnly ? "folder" : "file");
    const QByteArray stored = "[FocalLengths]\nFL0=210\n";
    writeSettings(stored);
    const QByteArray target = (folderReadOnly ? folder.path() : settingsPath()).toLocal8Bit();
    ASSERT_EQ(chmod(target.constData(), folderReadOnly ? 0555 : 0444), 0);
    CamDesigner& d = start();
    EXPECT_EQ(d.FocalLength->text(), "210");
    d.FocalLength->setText("90");
    closeDesigner();
    chmod(target.constData(), folderReadOnly ? 0755 : 0644);
    EXPECT_EQ(settingsText(), stored);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
  }
}

TEST_F(DesignerSettings, ASaveThatCannotFinishLeavesTheOldFileWhole) {
  const QByteArray stored = "[FocalLengths]\nFL0=210\n";
  writeSettings(stored);
  start().FocalLength->setText("90");
  {
    // Room for the first few keys only: saving key by key would leave a mix.
    const testing::FileSizeLimit limit(100);
    closeDesigner();
  }
  EXPECT_EQ(settingsText(), stored);
}

TEST_F(DesignerSettings, EveryControlComesBackAfterARestart) {
  CamDesigner& d = start();
  d.setOuterTopTwips(1200);
  d.setOuterLeftTwips(1800);
  d.setOuterWidthTwips(9000);
  d.setOuterHeightTwips(7500);
  for (QCheckBox* box : {d.ChkMM, d.ChkFlipImage, d.ChkCorInch}) box->setChecked(false);
  for (QCheckBox* box : {d.ChkInch, d.ChkDistMarkers, d.ChkHiRes, d.ChkUsePrintCor, d.ChkCormm})
    box->setChecked(true);
  d.PrinterXCor->setText("0.95");
  d.PrinterYCor->setText("1.02");
  d.XCorUser->setText("38.5");
  d.YCorUser->setText("17.25");
  d.FocalLength->setText("5.9");
  for (int i = 1; i <= 9; ++i) d.FocalLen1[i]->setText(QString::number(i * 1.5));
  closeDesigner();

  CamDesigner& again = start();
  EXPECT_EQ(again.outerTopTwips(), 1200);
  EXPECT_EQ(again.outerLeftTwips(), 1800);
  EXPECT_EQ(again.outerWidthTwips(), 9000);
  EXPECT_EQ(again.outerHeightTwips(), 7500);
  for (QCheckBox* box : {again.ChkMM, again.ChkFlipImage, again.ChkCorInch}) EXPECT_EQ(checkValue(box), 0);
  for (QCheckBox* box : {again.ChkInch, again.ChkDistMarkers, again.ChkHiRes, again.ChkUsePrintCor, again.ChkCormm})
    EXPECT_EQ(checkValue(box), 1);
  EXPECT_EQ(again.PrinterXCor->text(), "0.95");
  EXPECT_EQ(again.PrinterYCor->text(), "1.02");
  EXPECT_EQ(again.XCorUser->text(), "38.5");
  EXPECT_EQ(again.YCorUser->text(), "17.25");
  EXPECT_EQ(again.FocalLength->text(), "5.9");
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(again.FocalLen1[i]->text(), QString::number(i * 1.5)) << i;
  // Output options and ratios start afresh every time.
  EXPECT_EQ(checkValue(again.SaveToDisk), 0);
  EXPECT_EQ(again.LBLXCor->text(), "1");
}

}  // namespace
}  // namespace korvel

namespace korvel {
namespace {

TEST_F(DesignerSettings, ADimmedBoxBecomesCheckedWhenClickedAndNeverDimmedAgain) {
  writeSettings("[Options]\nCheckDistMarkers=2\n");
  CamDesigner& d = start();
  ASSERT_EQ(checkValue(d.ChkDistMarkers), 2);
  QTest::mouseClick(d.ChkDistMarkers, Qt::LeftButton, {}, QPoint(6, 6));
  EXPECT_EQ(checkValue(d.ChkDistMarkers), 1);
  QTest::mouseClick(d.ChkDistMarkers, Qt::LeftButton, {}, QPoint(6, 6));
  EXPECT_EQ(checkValue(d.ChkDistMarkers), 0);
  QTest::mouseClick(d.ChkDistMarkers, Qt::LeftButton, {}, QPoint(6, 6));
  EXPECT_EQ(checkValue(d.ChkDistMarkers), 1);
}

}  // namespace
}  // namespace korvel
