#include "commands/fit_lens.h"

#include "support/files.h"

namespace korvel {
namespace {

// What --fit-lens prints, to which stream, and its exit status.
TEST(FitLens, PrintsTheFitOrOneLineNamingTheRow) {
  struct Row {
    const char* name;
    const char* csv;  // nullptr: no file
    bool json;
    std::string out;
    std::vector<std::string> err;
    int status;
  };
  const std::string c = "magnification,travel_mm\n0.102,15.6\n0.149,22.9\n0.201,30.3\n0.252,38.0\n0.298,44.6\n";
  const std::string stop =
      "the infinity stop holds the lens 0.69 mm behind infinity focus: the cam assumes the stop sits at infinity "
      "focus, so set the stop right before the cam is made";
  // clang-format off
  const Row rows[] = {
      {"example C as text", c.c_str(), false,
       "focal length:    147.669 ± 1.105 mm\n"
       "infinity offset: -0.687 ± 0.235 mm\n"
       "±σ moves the working edge by up to 0.54 mm\n"
       "row  magnification  travel_mm  residual_mm\n"
       "  1          0.102     15.600       -0.149\n"
       "  2          0.149     22.900        0.210\n"
       "  3          0.201     30.300       -0.069\n"
       "  4          0.252     38.000        0.100\n"
       "  5          0.298     44.600       -0.092\n", {stop}, 0},
      {"one row as JSON: exact numbers, nulls", "travel_mm,magnification\n18.75,0.125\n", true,
       "{\"focal_length_mm\": 150, \"infinity_offset_mm\": 0, \"sigma_focal_length_mm\": null, "
       "\"sigma_infinity_offset_mm\": null, \"edge_shift_mm\": null, "
       "\"rows\": [{\"magnification\": 0.125, \"travel_mm\": 18.75, \"residual_mm\": 0}]}\n", {}, 0},
      {"a bad row", "magnification,travel_mm\n0.1,15\n0.2,x\n", true, "", {"ROWS: row 2: the travel_mm \"x\" is not a number"}, 2},
      {"no file", nullptr, false, "", {"cannot read ROWS: No such file or directory"}, 2},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    testing::TempFolder folder;
    if (row.csv) folder.put("rows.csv", row.csv);
    FitLensReport report = fitLensFromCsv(folder.path("rows.csv"), row.json);
    for (std::string& line : report.standardError)
      if (const auto at = line.find(folder.local("rows.csv")); at != std::string::npos)
        line.replace(at, folder.local("rows.csv").size(), "ROWS");
    EXPECT_EQ(report.standardOutput, row.out);
    EXPECT_EQ(report.standardError, row.err);
    EXPECT_EQ(report.exitStatus, row.status);
  }
}

}  // namespace
}  // namespace korvel
