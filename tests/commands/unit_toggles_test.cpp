#include "commands/unit_toggles.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

// The ten focal length texts after a switch: converted where the switch gave a
// text, as they were elsewhere.
std::vector<QString> focalTexts(const DesignerInputs& in, const FocalLengthUnitSwitch& result) {
  std::vector<QString> texts{result.texts[0].value_or(in.FocalLength)};
  for (int i = 1; i <= 9; ++i) texts.push_back(result.texts[i].value_or(in.FocalLen1[i]));
  return texts;
}

// Clicks "Inch" or "mm" as the user would: the clicked box changes first.
FocalLengthUnitSwitch clickFocal(DesignerInputs& in, bool inch) {
  int& box = inch ? in.ChkInch : in.ChkMM;
  box = isChecked(box) ? 0 : 1;
  const FocalLengthUnitSwitch result = toggleFocalLengthUnit(in, inch);
  in.ChkMM = result.ChkMM;
  in.ChkInch = result.ChkInch;
  const std::vector<QString> texts = focalTexts(in, result);
  in.FocalLength = texts[0];
  for (int i = 1; i <= 9; ++i) in.FocalLen1[i] = texts[i];
  return result;
}

TEST(UnitToggles, FocalLengthsConvertToInchesAndBackThroughOneDecimal) {
  DesignerInputs in;
  const std::vector<QString> typed{"150", "65", "380", "152.4", "", "abc", "6", "1e400", "90", "0"};
  in.FocalLength = typed[0];
  for (int i = 1; i <= 9; ++i) in.FocalLen1[i] = typed[i];
  clickFocal(in, true);
  EXPECT_EQ(in.ChkInch, 1);
  EXPECT_EQ(in.ChkMM, 0);
  std::vector<QString> now{in.FocalLength};
  for (int i = 1; i <= 9; ++i) now.push_back(in.FocalLen1[i]);
  EXPECT_EQ(now, (std::vector<QString>{"5.9", "2.6", "15", "6", "0", "0", "0.2", "1e400", "3.5", "0"}));
  clickFocal(in, false);
  now = {in.FocalLength};
  for (int i = 1; i <= 9; ++i) now.push_back(in.FocalLen1[i]);
  EXPECT_EQ(now, (std::vector<QString>{"149.9", "66", "381", "152.4", "0", "0", "5.1", "1e400", "88.9", "0"}));
}

TEST(UnitToggles, NothingConvertsWithoutAPositiveFocalLength) {
  for (const char* single : {"", "0", "-150", "abc"}) {
    SCOPED_TRACE(single);
    DesignerInputs in;
    in.FocalLength = single;
    const FocalLengthUnitSwitch result = clickFocal(in, true);
    for (const auto& text : result.texts) EXPECT_FALSE(text.has_value());
    EXPECT_EQ(in.ChkInch, 1);
    EXPECT_EQ(in.ChkMM, 0);
  }
}

TEST(UnitToggles, MeasurementsConvertBoxByBox) {
  DesignerInputs in;  // inches in force
  in.XCorUser = "1.5";
  in.YCorUser = ".705";
  in.ChkCormm = 1;  // "mm" clicked
  MeasurementUnitSwitch result = toggleMeasurementUnit(in, false);
  EXPECT_EQ(result.ChkCormm, 1);
  EXPECT_EQ(result.ChkCorInch, 0);
  EXPECT_EQ(result.XCorUser, "38.1");
  EXPECT_EQ(result.YCorUser, "17.907");

  in = DesignerInputs{};
  in.ChkCormm = 1;
  in.ChkCorInch = 1;  // "inch" clicked with "mm" in force
  in.XCorUser = "38.1";
  in.YCorUser = "17.907";
  result = toggleMeasurementUnit(in, true);
  EXPECT_EQ(result.XCorUser, "1.5");
  EXPECT_EQ(result.YCorUser, "0.705");

  in.XCorUser = "";  // an empty box stays empty, the other still converts
  in.YCorUser = "19.05";
  result = toggleMeasurementUnit(in, true);
  EXPECT_FALSE(result.XCorUser.has_value());
  EXPECT_EQ(result.YCorUser, "0.75");
}

// Any pair of values a settings file can hold: a click converts exactly when
// the unit the commands read ("Inch" or "mm" holding 1) changes.
TEST(UnitToggles, AClickConvertsOnlyWhenTheUnitInForceChanges) {
  struct Row {
    const char* name;
    int first, second;  // mm and Inch, or the measurements' mm and inch, before the click
    bool clickFirst;
    const char* focalAfter;     // from 150, or 6 where Inch rules
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
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DesignerInputs in;
    in.FocalLength = row.second == 1 ? "6" : "150";
    in.XCorUser = row.first == 1 ? "38.1" : "1.5";
    // The click has changed the clicked box: a checked one clears, any other checks.
    const int first = row.clickFirst ? (row.first == 1 ? 0 : 1) : row.first;
    const int second = row.clickFirst ? row.second : (row.second == 1 ? 0 : 1);
    in.ChkMM = in.ChkCormm = first;
    in.ChkInch = in.ChkCorInch = second;
    const FocalLengthUnitSwitch focal = toggleFocalLengthUnit(in, !row.clickFirst);
    const MeasurementUnitSwitch measured = toggleMeasurementUnit(in, !row.clickFirst);
    EXPECT_EQ(focal.texts[0].value_or(in.FocalLength), row.focalAfter);
    EXPECT_EQ(measured.XCorUser.value_or(in.XCorUser), row.measuredAfter);
    EXPECT_EQ(focal.ChkMM, row.clickFirst ? 1 : 0);
    EXPECT_EQ(measured.ChkCorInch, row.clickFirst ? 0 : 1);
  }
}

}  // namespace
}  // namespace korvel
