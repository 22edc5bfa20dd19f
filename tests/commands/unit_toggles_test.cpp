#include "support/designer_fixture.h"
#include "ui/check_value.h"

namespace korvel {
namespace {

class UnitToggles : public testing::DesignerFixture {
 protected:
  void click(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }
  QStringList focalTexts() const {
    QStringList texts{designer->FocalLength->text()};
    for (int i = 1; i <= 9; ++i) texts << designer->FocalLen1[i]->text();
    return texts;
  }
  void setFocalTexts(const QStringList& texts) {
    designer->FocalLength->setText(texts[0]);
    for (int i = 1; i <= 9; ++i) designer->FocalLen1[i]->setText(texts[i]);
  }
};

TEST_F(UnitToggles, FocalLengthsConvertToInchesAndBackThroughOneDecimal) {
  CamDesigner& d = start();
  setFocalTexts({"150", "65", "380", "152.4", "", "abc", "6", "1e400", "90", "0"});
  click(d.ChkInch);
  EXPECT_EQ(checkValue(d.ChkInch), 1);
  EXPECT_EQ(checkValue(d.ChkMM), 0);
  EXPECT_EQ(focalTexts(), QStringList({"5.9", "2.6", "15", "6", "0", "0", "0.2", "1e400", "3.5", "0"}));
  click(d.ChkMM);
  EXPECT_EQ(checkValue(d.ChkMM), 1);
  EXPECT_EQ(checkValue(d.ChkInch), 0);
  EXPECT_EQ(focalTexts(), QStringList({"149.9", "66", "381", "152.4", "0", "0", "5.1", "1e400", "88.9", "0"}));
}

TEST_F(UnitToggles, NothingConvertsWithoutAPositiveFocalLength) {
  CamDesigner& d = start();
  for (const char* single : {"", "0", "-150", "abc"}) {
    SCOPED_TRACE(single);
    const QStringList before{single, "65", "90", "135", "150", "210", "250", "270", "300", "380"};
    setFocalTexts(before);
    click(isChecked(d.ChkMM) ? d.ChkInch : d.ChkMM);
    EXPECT_EQ(focalTexts(), before);
    EXPECT_NE(checkValue(d.ChkMM), checkValue(d.ChkInch));
  }
}

TEST_F(UnitToggles, ClickingTheCheckedBoxOrDraggingOffChangesNothing) {
  CamDesigner& d = start();
  const QStringList before = focalTexts();
  click(d.ChkMM);
  click(d.ChkMM);
  EXPECT_EQ(checkValue(d.ChkMM), 1);
  EXPECT_EQ(checkValue(d.ChkInch), 0);
  EXPECT_EQ(focalTexts(), before);

  // A press on the other box released outside it, or with the right button.
  QTest::mousePress(d.ChkInch, Qt::LeftButton, {}, QPoint(6, 6));
  QTest::mouseRelease(d.ChkInch, Qt::LeftButton, {}, QPoint(200, 200));
  QTest::mouseClick(d.ChkInch, Qt::RightButton, {}, QPoint(6, 6));
  EXPECT_EQ(checkValue(d.ChkMM), 1);
  EXPECT_EQ(checkValue(d.ChkInch), 0);
  EXPECT_EQ(focalTexts(), before);
}

TEST_F(UnitToggles, TheSpaceBarSwitchesLikeAClick) {
  CamDesigner& d = start();
  d.ChkInch->setFocus();
  QTest::keyClick(d.ChkInch, Qt::Key_Space);
  EXPECT_EQ(checkValue(d.ChkInch), 1);
  EXPECT_EQ(checkValue(d.ChkMM), 0);
  EXPECT_EQ(d.FocalLength->text(), "5.3");  // 135 mm
  QTest::keyClick(d.ChkInch, Qt::Key_Space);  // the checked box stays checked
  EXPECT_EQ(checkValue(d.ChkInch), 1);
  EXPECT_EQ(d.FocalLength->text(), "5.3");
}

TEST_F(UnitToggles, MeasurementsConvertBoxByBox) {
  CamDesigner& d = start();
  d.XCorUser->setText("1.5");
  d.YCorUser->setText(".705");
  click(d.ChkCormm);
  EXPECT_EQ(checkValue(d.ChkCormm), 1);
  EXPECT_EQ(checkValue(d.ChkCorInch), 0);
  EXPECT_EQ(d.XCorUser->text(), "38.1");
  EXPECT_EQ(d.YCorUser->text(), "17.907");
  click(d.ChkCorInch);
  EXPECT_EQ(d.XCorUser->text(), "1.5");
  EXPECT_EQ(d.YCorUser->text(), "0.705");

  d.XCorUser->setText("");
  d.YCorUser->setText("0.75");
  click(d.ChkCormm);
  EXPECT_EQ(d.XCorUser->text(), "");
  EXPECT_EQ(d.YCorUser->text(), "19.05");
  click(d.ChkCormm);
  EXPECT_EQ(d.YCorUser->text(), "19.05");
}

// Any pair of values a settings file can hold: a click converts exactly when
// the unit the commands read ("Inch" or "mm" holding 1) changes.
TEST_F(UnitToggles, AClickConvertsOnlyWhenTheUnitInForceChanges) {
  struct Row {
    const char* name;
    int first, second;  // mm and Inch, or the measurements' mm and inch
    bool clickFirst;
    const char* focalAfter;  // from 150, or 6 where Inch rules
    const char* measuredAfter;  // from 1.5, or 38.1 where mm rules
  };
  const Row rows[] = {
      {"both clear, first clicked", 0, 0, true, "150", "38.1"},
      {"both clear, second clicked", 0, 0, false, "5.9", "1.5"},
      {"first dimmed, second clicked", 2, 0, false, "5.9", "1.5"},
      {"second dimmed, second clicked", 0, 2, false, "5.9", "1.5"},
      {"second dimmed, first clicked", 0, 2, true, "150", "38.1"},
      {"both checked, first clicked", 1, 1, true, "152.4", "38.1"},
      {"both checked, second clicked", 1, 1, false, "6", "1.5"},
  };
  CamDesigner& d = start();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const bool inchRules = row.second == 1;
    const bool mmRules = row.first == 1;
    d.FocalLength->setText(inchRules ? "6" : "150");
    d.XCorUser->setText(mmRules ? "38.1" : "1.5");
    setCheckValue(d.ChkMM, row.first);
    setCheckValue(d.ChkInch, row.second);
    setCheckValue(d.ChkCormm, row.first);
    setCheckValue(d.ChkCorInch, row.second);
    click(row.clickFirst ? d.ChkMM : d.ChkInch);
    click(row.clickFirst ? d.ChkCormm : d.ChkCorInch);
    EXPECT_EQ(d.FocalLength->text(), row.focalAfter);
    EXPECT_EQ(d.XCorUser->text(), row.measuredAfter);
    EXPECT_EQ(checkValue(row.clickFirst ? d.ChkMM : d.ChkInch), 1);
    EXPECT_EQ(checkValue(row.clickFirst ? d.ChkInch : d.ChkMM), 0);
  }
}

TEST_F(UnitToggles, SettingsLoadSetsTheBoxesWithoutConverting) {
  writeSettings("[Options]\nCheckmm=0\nCheckinch=1\n[FocalLengths]\nFL0=6\n");
  CamDesigner& d = start();
  EXPECT_EQ(checkValue(d.ChkInch), 1);
  EXPECT_EQ(d.FocalLength->text(), "6");
  click(d.ChkMM);
  EXPECT_EQ(d.FocalLength->text(), "152.4");
}

}  // namespace
}  // namespace korvel
