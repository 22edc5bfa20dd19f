#include "support/designer_fixture.h"
#include "ui/check_value.h"

namespace korvel {
namespace {

class Calibration : public testing::DesignerFixture {
 protected:
  void measure(const QString& x, const QString& y) {
    designer->XCorUser->setText(x);
    designer->YCorUser->setText(y);
    QTest::mouseClick(designer->CMDCalcCor, Qt::LeftButton);
  }
  std::pair<QString, QString> ratios() const { return {designer->LBLXCor->text(), designer->LBLYCor->text()}; }
  using Ratios = std::pair<QString, QString>;
};

TEST_F(Calibration, RatiosStartAfreshThenMultiplyIntoTheShownOnes) {
  start();
  measure("1.6", "0.75");
  EXPECT_EQ(ratios(), Ratios(".9638", ".9333"));
  measure("1.52", "0.71");
  EXPECT_EQ(ratios(), Ratios(".9777", ".9202"));
  EXPECT_EQ(designer->XCorUser->text(), "1.52");
  // A cam printed at its drawn size, foot to foot and base line to top.
  measure("1.542", "0.7");
  EXPECT_EQ(ratios(), Ratios(".9777", ".9202"));  // cumulative: multiplied by 1
  // The factor boxes are the user's to fill in; the calculation leaves them.
  EXPECT_EQ(designer->PrinterXCor->text(), "0.9375");
}

TEST_F(Calibration, AShownRatioOfExactlyOneStartsAfresh) {
  start();
  measure("1.542", "0.7");  // a cam printed at its drawn size
  EXPECT_EQ(ratios(), Ratios("1.", "1."));
  measure("1.542", "0.75");  // X matches the reference: ratio 1
  EXPECT_EQ(ratios(), Ratios("1.", ".9333"));
  measure("1.6", "0.75");
  EXPECT_EQ(ratios(), Ratios(".9638", ".9333"));  // not .9333 x .9333
}

TEST_F(Calibration, ZeroOrOneStandsForTheReferenceSize) {
  start();
  measure("1.6", "0.75");
  measure("0", "1");
  EXPECT_EQ(designer->XCorUser->text(), "1.542");
  EXPECT_EQ(designer->YCorUser->text(), "0.7");
  EXPECT_EQ(ratios(), Ratios(".9638", ".9333"));  // multiplied by 1
  measure("1", "0");                              // at start-up both labels show 1
  EXPECT_EQ(ratios(), Ratios(".9638", ".9333"));
}

TEST_F(Calibration, TextAroundTheNumberAndNegativeMeasurements) {
  start();
  measure("1.6in", "0.75 inch");
  EXPECT_EQ(designer->XCorUser->text(), "1.6");
  EXPECT_EQ(designer->YCorUser->text(), "0.75");
  EXPECT_EQ(ratios(), Ratios(".9638", ".9333"));
  measure("-1.5", "abc");  // abc reads as 0, the reference size
  EXPECT_EQ(ratios(), Ratios("-.9908", ".9333"));
  // A ratio too large to hold shows 1; a measurement too large to read
  // counts as 0, the reference size, multiplying the shown ratio by 1.
  measure("1e-320", "1e400");
  EXPECT_EQ(ratios(), Ratios("1.", ".9333"));
}

TEST_F(Calibration, TheUnitBoxesChooseTheReferenceSizes) {
  start();
  designer->ChkCorInch->setChecked(false);
  measure("1.6", "0");
  EXPECT_EQ(ratios(), Ratios("1.", "1."));  // neither unit: no pass at all
  EXPECT_EQ(designer->XCorUser->text(), "1.6");
  EXPECT_EQ(designer->YCorUser->text(), "0");
  designer.reset();

  // Both checked, which only a settings file can do: the inch pass, then the
  // millimetre pass on what the inch pass left.
  writeSettings("[Options]\nCheckCormm=1\nCheckCorInch=1\n");
  start();
  measure("40", "0");
  EXPECT_EQ(designer->YCorUser->text(), "0.7");
  EXPECT_EQ(ratios(), Ratios(".9792", "25.4"));  // 39.1668 / 40 and 17.78 / 0.7
}

}  // namespace
}  // namespace korvel
