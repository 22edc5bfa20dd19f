#include "settings/setting_reader.h"
#include "support/designer_fixture.h"
#include "support/file_size_limit.h"
#include "support/files.h"
#include "ui/check_value.h"

namespace korvel {
namespace {

using namespace std::string_literals;

struct CorrectionRow {
  std::string stored;  // the key's line, as the file holds it
  const SettingKey& key;
  double expected;
};

// What each kind of key makes of a stored text, and the correction it gets.
TEST(SettingKeys, CorrectionsOfStoredValues) {
  const auto& d = kDesignerKeys;
  const CorrectionRow rows[] = {
      {"TavoTop=50", d[key::TavoTop], 100}, {"TavoLeft=10001", d[key::TavoLeft], 800},
      {"TavoLeft=50", d[key::TavoLeft], 800}, {"TavoLeft=10000", d[key::TavoLeft], 10000},
      {"TavoWidth=5000", d[key::TavoWidth], 8370}, {"PWLeft=10800", kPlotWindowKeys[1], 10800},
      // Beyond 16 bits a key takes its own default; halves go to the even side.
      {"TavoTop=99999", d[key::TavoTop], 100}, {"tavotop=1500.5", d[key::TavoTop], 1500},
      {"Checkmm=-3", d[key::Checkmm], 0}, {"CheckCorInch=-3", d[key::CheckCorInch], 1},
      {"XCor=0,95", d[key::XCor], 0.9375}, {"YCor=0", d[key::YCor], 0.9338},
      {"YCor=1e400", d[key::YCor], 0.9338}, {"XUserMeasure=0", d[key::XUserMeasure], 1},
      {"FL3=0.4", d[key::FL3], 135}, {"FL5=99999", d[key::FL5], 210},
      {"FL8=32767.4", d[key::FL8], 32767.4}, {"FL9=32767.5", d[key::FL9], 380},
      {"FL0=150%75", d[key::FL0], 150}, {"FL0=12\0 34"s, d[key::FL0], 12},
      {"FL0=000000000000000000000000000000000000150999", d[key::FL0], 150},
  };
  testing::TempFolder dir;
  for (const CorrectionRow& r : rows) {
    const std::string file = "[" + std::string(r.key.section) + "]\n" + r.stored + "\n";
    dir.put("s.ini", QByteArray::fromStdString(file));
    EXPECT_EQ(readSetting(dir.local("s.ini"), r.key), r.expected) << r.stored;
  }
}

class DesignerSettings : public testing::DesignerFixture {};

// What the window adds: a value its control cannot take keeps the default; a
// factor far beyond an int is no integer; a click checks a dimmed box for good;
// once the window moves, its place is the pixel it stands at.
TEST_F(DesignerSettings, StoredValuesInTheControls) {
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
}

// Every key is read into its control and written back from it unchanged; a
// save that cannot finish leaves the old file whole.
TEST_F(DesignerSettings, AFileComesBackByteForByteAfterASession) {
  const QByteArray stored =
      "[Windows]\nTavoTop=1001\nTavoLeft=10000\nTavoWidth=9007\nTavoHeight=7508\n"
      "[Options]\nCheckmm=0\nCheckinch=1\nCheckFlipImage=2\nCheckDistMarkers=1\nCheckHiRes=1\n"
      "CheckCormm=1\nCheckCorInch=0\n"
      "[PrinterCor]\nXCor=0.95\nYCor=1.02\nUseCor=1\nXUserMeasure=.7055\nYUserMeasure=17.\n"
      "[FocalLengths]\nFL0=5.9\nFL1=1.5\nFL2=3\nFL3=4.5\nFL4=6\nFL5=7.5\nFL6=9\nFL7=10.5\nFL8=12\n"
      "FL9=13.5\n";
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
