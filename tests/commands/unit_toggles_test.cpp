#include "commands/unit_toggles.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

// The ten focal length texts after a click on "Inch" (or "mm") that changed
// the unit: converted where the switch gave a text, as typed elsewhere.
std::vector<QString> switched(const std::vector<QString>& typed, bool toInches) {
  DesignerInputs in;
  in.FocalLength = typed[0];
  for (int i = 1; i <= 9; ++i) in.FocalLen1[i] = typed[i];
  in.ChkInch = in.ChkMM = 1;  // the click has checked one box; its partner held the unit
  const FocalLengthUnitSwitch result = toggleFocalLengthUnit(in, toInches);
  std::vector<QString> texts;
  for (int i = 0; i <= 9; ++i) texts.push_back(result.texts[i].value_or(typed[i]));
  return texts;
}

// Four decimals of an inch and two of a millimetre: every lens typed to
// 0.01 mm, or to 0.0001 in, comes back as typed. Each box converts on its own:
// one that holds no lens above 0 stays as typed, whatever the others hold.
TEST(UnitToggles, FocalLengthsConvertBoxByBoxAndComeBackAsTyped) {
  const std::vector<QString> millimetres{"150", "65", "380", "152.4", "", "abc", "6", "1e400", "90", "0"};
  const auto inches = switched(millimetres, true);
  EXPECT_EQ(inches, (std::vector<QString>{"5.9055", "2.5591", "14.9606", "6", "", "abc", "0.2362", "1e400",
                                          "3.5433", "0"}));
  EXPECT_EQ(switched(inches, false), millimetres);
  const std::vector<QString> typedInInches{"5.9", "-5", "", "", "", "", "", "", "", ""};
  const auto inMillimetres = switched(typedInInches, false);
  EXPECT_EQ(inMillimetres[0], "149.86");
  EXPECT_EQ(switched(inMillimetres, true), typedInInches);
  for (const char* focal : {"", "0", "-150", "abc"}) {
    std::vector<QString> typed = millimetres;
    typed[0] = focal;
    const auto converted = switched(typed, true);
    EXPECT_EQ(std::tuple(converted[0], converted[1]), std::tuple(QString(focal), QString("2.5591"))) << focal;
  }
}

// Any pair of values a settings file can hold: a click converts exactly when
// the unit the commands read ("Inch" or "mm" holding 1) changes, and leaves
// the clicked box checked and its partner clear. Each measurement box
// converts on its own; an empty one stays empty.
TEST(UnitToggles, AClickConvertsOnlyWhenTheUnitInForceChanges) {
  // mm and Inch, or the measurements' mm and inch, before the click; the height measured (the focal length and
  // the width are 150 and 1.5, or 6 and 38.1 where their unit holds 1); and the three texts afterwards.
  struct Row { const char* name; int first, second; bool clickFirst; const char *y, *focalAfter, *xAfter, *yAfter; };
  const Row rows[] = {
      {"both clear, first clicked", 0, 0, true, ".705", "150", "38.1", "17.907"},
      {"both clear, second clicked", 0, 0, false, ".705", "5.9055", "1.5", ".705"},
      {"first dimmed, second clicked", 2, 0, false, ".705", "5.9055", "1.5", ".705"},
      {"second dimmed, second clicked", 0, 2, false, ".705", "5.9055", "1.5", ".705"},
      {"second dimmed, first clicked, height empty", 0, 2, true, "", "150", "38.1", ""},
      {"both checked, first clicked", 1, 1, true, "17.907", "152.4", "38.1", "17.907"},
      {"both checked, second clicked", 1, 1, false, "17.907", "6", "1.5", "0.705"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DesignerInputs in;
    in.FocalLength = row.second == 1 ? "6" : "150";
    in.XCorUser = row.first == 1 ? "38.1" : "1.5";
    in.YCorUser = row.y;
    // The click has changed the clicked box: a checked one clears, any other checks.
    in.ChkMM = in.ChkCormm = row.clickFirst ? (row.first == 1 ? 0 : 1) : row.first;
    in.ChkInch = in.ChkCorInch = row.clickFirst ? row.second : (row.second == 1 ? 0 : 1);
    const FocalLengthUnitSwitch focal = toggleFocalLengthUnit(in, !row.clickFirst);
    const MeasurementUnitSwitch measured = toggleMeasurementUnit(in, !row.clickFirst);
    EXPECT_EQ(focal.texts[0].value_or(in.FocalLength), row.focalAfter);
    EXPECT_EQ(measured.XCorUser.value_or(in.XCorUser), row.xAfter);
    EXPECT_EQ(measured.YCorUser.value_or(in.YCorUser), row.yAfter);
    const auto checked = std::tuple(focal.ChkMM, focal.ChkInch, measured.ChkCormm, measured.ChkCorInch);
    EXPECT_EQ(checked, row.clickFirst ? std::tuple(1, 0, 1, 0) : std::tuple(0, 1, 0, 1));
  }
}

}  // namespace
}  // namespace korvel
